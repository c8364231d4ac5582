#pragma once
// Small helpers that several windows use: bold labels, application icons, the
// documents folder and binary settings with a system-wide/per-user fallback.

#include <QByteArray>
#include <QPixmap>
#include <QString>

class QWidget;

// Sets the same font at weight 700 on the control; nothing for a null control.
void MakeLabelBold(QWidget* control);

// The icon with that resource number at 32 x 32 when large, else 16 x 16; a
// null pixmap when the number has no icon.
QPixmap LoadAppIcon(int resourceId, bool large);

// The user's documents folder.
QString DocumentsFolder();

// Binary values in the program's settings. Unless currentUserOnly, the
// system-wide settings are tried first and the user's settings only when that
// fails. `section` is the group below the settings root (e.g. "Layout").
// Reading ignores the stored value's type. Both report failure only when no
// place served.
bool ReadBinarySetting(const QString& section, const QString& name, QByteArray& value, bool currentUserOnly);
bool WriteBinarySetting(const QString& section, const QString& name, const QByteArray& value,
                        bool currentUserOnly);

// Tests point the two settings files elsewhere; empty paths restore the program's own.
void SetBinarySettingFiles(const QString& systemFile, const QString& userFile);
