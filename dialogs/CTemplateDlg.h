#pragma once
// The form for one template: its name and the captions of the seven data
// fields. The caller fills the eight strings, runs the form and, on OK, copies
// them back. OK is refused while the name or the first caption is empty, and
// for a name another template already has.

#include "core/TemplateRecord.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class CTemplateDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTemplateDlg(QWidget* parent = nullptr);

    // The name and the seven captions, shown in the boxes.
    void setValues(const TemplateRecord& from);
    // Copies the name and the seven captions read at OK into `to`.
    void copyTo(TemplateRecord& to) const;
    // Tells OK which names other templates already use (letter case ignored).
    void setNameTaken(std::function<bool(const QString&)> taken) { m_nameTaken = std::move(taken); }

    QString name() const { return m_name; }
    QString caption(int position) const { return m_captions[static_cast<size_t>(position)]; }

    QLineEdit* nameBox() const { return m_nameBox; }
    QLineEdit* captionBox(int position) const { return m_captionBoxes[static_cast<size_t>(position)]; }
    QLabel* nameLabel() const { return m_nameLabel; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

private:
    QString m_name;
    std::array<QString, kFieldCount> m_captions;
    std::function<bool(const QString&)> m_nameTaken;

    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_nameBox = nullptr;
    std::array<QLineEdit*, kFieldCount> m_captionBoxes{};
    QDialogButtonBox* m_buttons = nullptr;
};
