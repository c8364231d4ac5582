#pragma once
// The desktop's preview: a docking pane titled "Preview Pane" that shows the
// node selected in the tree, read-only, on the button-face background. It
// docks on the left or the right edge only and is never narrower than 33
// pixels; its close button hides it (toggleViewAction() shows it again and
// carries the check mark while it is shown). Links in it open on a click.

#include "app/PreviewTarget.h"

#include <QDockWidget>

class CNoteEditor;
class PreviewComposer;

class CPreviewDlg : public QDockWidget, public PreviewTarget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 33;
    static constexpr int kMinimumHeight = 32;
    // The name a saved window state knows the pane by.
    static constexpr const char* kObjectName = "PreviewPane";
    // The close button of the caption strip.
    static constexpr const char* kCloseButtonName = "PreviewPaneClose";

    explicit CPreviewDlg(QWidget* parent = nullptr);
    ~CPreviewDlg() override;

    void ShowNode(const NotesMgr* notes, const NoteRecord* node) override;

    CNoteEditor* editor() const { return m_editor; }
    PreviewComposer& composer() const { return *m_composer; }

private:
    CNoteEditor* m_editor = nullptr;
    PreviewComposer* m_composer = nullptr;
};
