#include "app/CPreviewDlg.h"

#include "app/AppTexts.h"
#include "editor/CNoteEditor.h"
#include "editor/PreviewComposer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

// The pane's caption strip: the title, cut short when the pane is narrow, and
// a flat close button at its far end. The dock's own strip carries a float
// button too and would keep the pane wider than it may get. Presses elsewhere
// on the strip are left to the dock, which moves and floats the pane.
class CaptionStrip : public QWidget {
public:
    explicit CaptionStrip(QDockWidget& dock) : QWidget(&dock), m_dock(dock), m_close(new QToolButton(this)) {
        QFont caption = font();
        caption.setBold(true);
        setFont(caption);
        m_close->setObjectName(QString::fromLatin1(CPreviewDlg::kCloseButtonName));
        m_close->setAutoRaise(true);
        m_close->setFocusPolicy(Qt::NoFocus);
        m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
        m_close->setIconSize(QSize(kButtonSize - 4, kButtonSize - 4));
        m_close->setFixedSize(kButtonSize, kButtonSize);
        connect(m_close, &QToolButton::clicked, &dock, &QDockWidget::close);
        connect(&dock, &QWidget::windowTitleChanged, this, [this] { update(); });
    }

    QSize sizeHint() const override {
        return {QFontMetrics(font()).horizontalAdvance(m_dock.windowTitle()) + kButtonSize + 3 * kMargin,
                stripHeight()};
    }
    QSize minimumSizeHint() const override { return {kButtonSize + 2 * kMargin, stripHeight()}; }

protected:
    void resizeEvent(QResizeEvent*) override {
        m_close->move(width() - kMargin - kButtonSize, (height() - kButtonSize) / 2);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect text(kMargin, 0, m_close->x() - 2 * kMargin, height());
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(m_dock.windowTitle(), Qt::ElideRight, text.width()));
    }

private:
    static constexpr int kMargin = 3;
    static constexpr int kButtonSize = 16;
    int stripHeight() const { return std::max(kButtonSize, fontMetrics().height()) + 2; }

    QDockWidget& m_dock;
    QToolButton* m_close;
};

} // namespace

CPreviewDlg::CPreviewDlg(QWidget* parent)
    : QDockWidget(QString::fromUtf8(AppTexts::previewPane), parent), m_editor(new CNoteEditor(this, true)),
      m_composer(new PreviewComposer(*m_editor, this)) {
    setObjectName(QString::fromLatin1(kObjectName));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setTitleBarWidget(new CaptionStrip(*this));
    UseButtonFace(*m_editor);
    // The pane decides how narrow it may get, not the editor's scroll bars.
    m_editor->setMinimumSize(1, 1);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setWidget(m_editor);
}

CPreviewDlg::~CPreviewDlg() = default;

void CPreviewDlg::ShowNode(const NotesMgr* notes, const NoteRecord* node) {
    m_composer->Show(notes, node);
}
