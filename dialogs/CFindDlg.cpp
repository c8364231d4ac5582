#include "dialogs/CFindDlg.h"

#include "core/Edition.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/FindTarget.h"
#include "editor/rtf/PlainText.h"
#include "gui/DialogMenuBar.h"
#include "gui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The wait cursor for as long as a step runs.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CFindDlg::CFindDlg(FindTarget& target, QWidget* parent)
    : QDialog(parent), m_target(target), m_finder(&rtf::BodyToPlainText) {
    setWindowTitle(text(DialogTexts::findTitle));
    setModal(false);

    auto* whatLabel = new QLabel(text(DialogTexts::findWhat), this);
    m_text = new QLineEdit(this);
    whatLabel->setBuddy(m_text);
    auto* whereLabel = new QLabel(text(DialogTexts::findWhere), this);
    m_scope = new QComboBox(this);
    for (const char* scope : DialogTexts::findScopes)
        m_scope->addItem(text(scope));
    m_scope->setCurrentIndex(FindInTitleAndBody);
    whereLabel->setBuddy(m_scope);
    m_matchCase = new QCheckBox(text(DialogTexts::matchCase), this);
    m_wholeWord =
        new QCheckBox(text(kHandheld ? DialogTexts::wholeWordPad : DialogTexts::wholeWordDesk), this);
    m_find = new QPushButton(text(DialogTexts::findButton), this);
    m_find->setDefault(true);
    m_cancel = new QPushButton(text(DialogTexts::cancel), this);
    m_cancel->setAutoDefault(false);

    if constexpr (kHandheld) {
        // One column for the narrow screen; Find and Cancel on the soft keys.
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(whatLabel), static_cast<QWidget*>(m_text),
                           static_cast<QWidget*>(whereLabel), static_cast<QWidget*>(m_scope),
                           static_cast<QWidget*>(m_matchCase), static_cast<QWidget*>(m_wholeWord)})
            layout->addWidget(w);
        layout->addStretch(1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(m_find);
        buttons->addWidget(m_cancel);
        layout->addLayout(buttons);
        auto* findKey = new QAction(m_find->text(), this);
        auto* cancelKey = new QAction(m_cancel->text(), this);
        connect(findKey, &QAction::triggered, m_find, &QPushButton::click);
        connect(cancelKey, &QAction::triggered, m_cancel, &QPushButton::click);
        if (CreateDialogMenuBar(this, findKey, cancelKey)) {
            m_find->hide();
            m_cancel->hide();
        }
        // With the buttons under the soft keys, Enter in the text still finds.
        connect(m_text, &QLineEdit::returnPressed, this, [this] {
            if (!m_find->isVisible())
                FindNext();
        });
    } else {
        // Fields on the left, the buttons on the right.
        auto* layout = new QGridLayout(this);
        layout->addWidget(whatLabel, 0, 0);
        layout->addWidget(m_text, 0, 1);
        layout->addWidget(whereLabel, 1, 0);
        layout->addWidget(m_scope, 1, 1);
        layout->addWidget(m_matchCase, 2, 0, 1, 2);
        layout->addWidget(m_wholeWord, 3, 0, 1, 2);
        layout->addWidget(m_find, 0, 2);
        layout->addWidget(m_cancel, 1, 2);
        layout->setColumnStretch(1, 1);
        layout->setRowStretch(4, 1);
    }

    connect(m_find, &QPushButton::clicked, this, &CFindDlg::FindNext);
    connect(m_cancel, &QPushButton::clicked, this, &CFindDlg::reject);
    resize(kHandheld ? QSize(240, 220) : QSize(360, 130));
}

void CFindDlg::Show() {
    m_target.SelectDatabaseItem();
    m_finder.Restart();
    show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

FindOptions CFindDlg::ReadControls() const {
    FindOptions options;
    options.text = m_text->text().toStdU16String();
    options.scope = m_scope->currentIndex();
    options.matchCase = m_matchCase->isChecked();
    options.wholeWord = m_wholeWord->isChecked();
    return options;
}

void CFindDlg::FindNext() {
    const FindOptions options = ReadControls();
    NoteFinder::Result result;
    {
        const WaitCursor wait;
        result = m_finder.Step(m_target.FindWalkOrder(), options, m_target.FindSelection());
    }
    if (result.outcome == NoteFinder::Outcome::Found)
        m_target.SelectFoundNode(result.nodeId);
    else if (result.outcome == NoteFinder::Outcome::NotFound)
        ShowMessageBox(isVisible() ? static_cast<QWidget*>(this) : parentWidget(),
                       text(DialogTexts::textNotFound), MessageIcon::Stop);
}
