#pragma once
// Shows what a merge did before its result is taken: the summary line, then
// the entries grouped under their headings, wrapped to the dialog's width so
// that the report reads on the handheld's narrow screen too. Save takes the
// result; Cancel leaves the database as it was.

#include "core/MergeReport.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QListWidget;

class CMergeReportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMergeReportDlg(const MergeReport& report, QWidget* parent = nullptr);

    QLabel* summary() const { return m_summary; }
    QListWidget* list() const { return m_list; }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    QLabel* m_summary;
    QListWidget* m_list;
    QDialogButtonBox* m_buttons;
};
