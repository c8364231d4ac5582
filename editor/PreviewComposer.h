#pragma once
// What a preview shows for a node, read-only: the captions of its template
// with the node's values, one line each, a blank line, then the body. Both
// editions' previews show a node through this, on a read-only note editor.
//
// A long body would keep the program busy for a while on every selection
// change, so a body is put in a part at a time: the first screenful at once,
// the rest while the program is idle, in a second document that takes the
// first one's place when it is complete. Showing another node drops the work
// left over.

#include "editor/RichTextMapping.h"
#include "editor/rtf/RichText.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextCursor>
#include <QTimer>
#include <string>

class CNoteEditor;
class NotesMgr;
class QTextDocument;
struct NoteRecord;

// The field lines: "caption value\r\n" for every non-empty caption of the
// node's template (none for template 0), then one more "\r\n" when there is
// any line at all. A secret field's value shows as a row of dots unless
// `revealConcealed`.
std::u16string PreviewFieldText(const NotesMgr& notes, const NoteRecord& node, bool revealConcealed = false);

// Gives a preview's editor the button-face background of the previews.
void UseButtonFace(CNoteEditor& editor);

class PreviewComposer : public QObject {
    Q_OBJECT
public:
    // Characters put in at once when a node is shown, and in each idle step after.
    static constexpr size_t kFirstPartChars = 16 * 1024;
    static constexpr size_t kStepChars = 64 * 1024;

    explicit PreviewComposer(CNoteEditor& editor, QObject* parent = nullptr);
    ~PreviewComposer() override;

    // Shows the node, or nothing when it is null. `notes` supplies the template.
    void Show(const NotesMgr* notes, const NoteRecord* node);

    // Whether secret fields show their values from the next Show on.
    void setRevealConcealed(bool reveal) { m_reveal = reveal; }
    bool revealConcealed() const { return m_reveal; }

    // True once the whole body is shown.
    bool isComplete() const { return !m_pending; }
    // Completes the body at once (for callers that need it whole now).
    void Finish();

signals:
    // The whole body is shown.
    void completed();

private:
    // A document with the field lines and the body, put in up to where `budget` allows.
    struct Build {
        QTextDocument* document = nullptr;
        QTextCursor cursor;
        RichTextMapping::InsertPosition position;
        size_t plainOffset = 0;
    };

    QTextDocument* NewDocument() const;
    void StartBuild(Build& build, const std::u16string& fields);
    // True when the body is all in.
    bool Continue(Build& build, size_t budget);
    void Step();
    void Complete();
    void Cancel();

    CNoteEditor& m_editor;
    QTimer m_stepTimer;
    bool m_pending = false;
    bool m_reveal = false;
    bool m_rtfBody = false;
    rtf::Document m_model;
    std::u16string m_plainBody;
    std::u16string m_fields;
    Build m_full;
    QPointer<QTextDocument> m_shown; // the partial document on screen while the body is completed
};
