#pragma once
// The handheld's preview: a bar 100 pixels high meant for the top of the main
// window, showing the node selected in the tree read-only on the button-face
// background, the editor inset by 2 pixels. A tap on a link opens it.

#include "app/PreviewTarget.h"

#include <QWidget>

class CNoteEditor;
class PreviewComposer;

class CPreviewPane : public QWidget, public PreviewTarget {
    Q_OBJECT
public:
    static constexpr int kHeight = 100;
    static constexpr int kInset = 2;

    explicit CPreviewPane(QWidget* parent = nullptr);
    ~CPreviewPane() override;

    void ShowNode(const NotesMgr* notes, const NoteRecord* node) override;
    void setVisible(bool visible) override;

    CNoteEditor* editor() const { return m_editor; }
    PreviewComposer& composer() const { return *m_composer; }

signals:
    // The pane was shown or hidden (by the Preview Pane command), not when its window was.
    void visibilityChanged(bool visible);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceEditor();

    CNoteEditor* m_editor = nullptr;
    PreviewComposer* m_composer = nullptr;
};
