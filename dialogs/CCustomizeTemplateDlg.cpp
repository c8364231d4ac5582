#include "dialogs/CCustomizeTemplateDlg.h"

#include "core/Edition.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "core/TreeOps.h"
#include "dialogs/CTemplateDlg.h"
#include "dialogs/DialogTexts.h"
#include "gui/DialogMenuBar.h"
#include "gui/DialogRunner.h"
#include "gui/GuiHelpers.h"
#include "gui/MessageBox.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kMargin = 5;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

CCustomizeTemplateDlg::CCustomizeTemplateDlg(NotesMgr& notes, QWidget* parent)
    : QDialog(parent), m_notes(notes) {
    setWindowTitle(text(DialogTexts::editTemplatesTitle));

    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(m_list, 1);

    m_add = new QPushButton(text(DialogTexts::add), this);
    m_edit = new QPushButton(text(DialogTexts::edit), this);
    m_delete = new QPushButton(text(DialogTexts::remove), this);
    m_close = new QPushButton(text(DialogTexts::close), this);
    for (QPushButton* button : {m_add, m_edit, m_delete})
        button->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, &CCustomizeTemplateDlg::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CCustomizeTemplateDlg::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CCustomizeTemplateDlg::OnDelete);
    connect(m_close, &QPushButton::clicked, this, &CCustomizeTemplateDlg::accept);

    if (kHandheld) {
        // The soft-key bar's "Menu" key holds the three commands; "Close" closes.
        for (QPushButton* button : {m_add, m_edit, m_delete, m_close})
            button->hide();
        auto* menu = new QMenu(this);
        menu->addAction(text(DialogTexts::add), this, &CCustomizeTemplateDlg::OnAdd);
        menu->addAction(text(DialogTexts::edit), this, &CCustomizeTemplateDlg::OnEdit);
        menu->addAction(text(DialogTexts::remove), this, &CCustomizeTemplateDlg::OnDelete);
        auto* menuKey = new QAction(text(DialogTexts::menu), this);
        menuKey->setMenu(menu);
        auto* closeKey = new QAction(text(DialogTexts::close), this);
        connect(closeKey, &QAction::triggered, this, &CCustomizeTemplateDlg::accept);
        CreateDialogMenuBar(this, menuKey, closeKey);
    } else {
        auto* commands = new QHBoxLayout;
        commands->addWidget(m_add);
        commands->addWidget(m_edit);
        commands->addWidget(m_delete);
        commands->addStretch(1);
        layout->addLayout(commands);
        auto* bottom = new QHBoxLayout;
        bottom->addStretch(1);
        bottom->addWidget(m_close);
        layout->addLayout(bottom);
        m_close->setDefault(true);
        MakeLabelBold(m_close);
    }

    FillList();
    if (!kHandheld)
        resize(sizeHint().width() + 40, sizeHint().height() + 120);
}

void CCustomizeTemplateDlg::SortTemplates(NotesMgr& notes) {
    std::stable_sort(notes.templates.begin(), notes.templates.end(),
                     [](const TemplateRecord& a, const TemplateRecord& b) {
                         return QString::fromStdU16String(a.name).compare(QString::fromStdU16String(b.name),
                                                                          Qt::CaseInsensitive) < 0;
                     });
}

void CCustomizeTemplateDlg::FillList() {
    m_list->clear();
    SortTemplates(m_notes);
    // The lines follow the sorted list, which is the alphabetical order of their texts.
    for (const TemplateRecord& t : m_notes.templates) {
        auto* item = new QListWidgetItem(QString::fromStdU16String(t.name), m_list);
        item->setData(Qt::UserRole, t.templateId);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

std::function<bool(const QString&)> CCustomizeTemplateDlg::NameTakenBesides(int32_t templateId) const {
    return [this, templateId](const QString& name) {
        return IsTemplateNameTaken(m_notes, name.toStdU16String(), templateId);
    };
}

void CCustomizeTemplateDlg::OnAdd() {
    CTemplateDlg form(this);
    form.setNameTaken(NameTakenBesides(-1));
    if (ExecDialog(form) != QDialog::Accepted)
        return;
    TemplateRecord& created = m_notes.AddTemplate(-1);
    form.copyTo(created);
    FillList();
    m_notes.SetModified();
}

void CCustomizeTemplateDlg::OnEdit() {
    QListWidgetItem* selected = m_list->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const int32_t id = selected->data(Qt::UserRole).toInt();
    auto found = std::find_if(m_notes.templates.begin(), m_notes.templates.end(),
                              [id](const TemplateRecord& t) { return t.templateId == id; });
    if (found == m_notes.templates.end())
        return;

    CTemplateDlg form(this);
    form.setValues(*found);
    form.setNameTaken(NameTakenBesides(id));
    if (ExecDialog(form) != QDialog::Accepted)
        return;
    // The form ran its own event loop; find the template again rather than
    // trusting an iterator across it.
    found = std::find_if(m_notes.templates.begin(), m_notes.templates.end(),
                         [id](const TemplateRecord& t) { return t.templateId == id; });
    if (found == m_notes.templates.end())
        return;
    form.copyTo(*found);
    FillList();
    m_notes.SetModified();
}

void CCustomizeTemplateDlg::OnDelete() {
    QListWidgetItem* selected = m_list->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const QString name = selected->text();
    const int32_t id = selected->data(Qt::UserRole).toInt();

    if (const NoteRecord* user = FindTemplateUser(m_notes, id)) {
        const QString message =
            QString::fromStdU16String(Texts::templateInUse).arg(name, QString::fromStdU16String(user->title));
        ShowMessageBox(this, message, MessageIcon::Stop);
        return;
    }
    if (ShowMessageBox(this, QString::fromStdU16String(Texts::confirmDeleteTemplate), MessageIcon::Question,
                       MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    RemoveTemplate(m_notes, id);
    FillList();
}
