#include "app/CNotesDoc.h"

#include "app/AppTexts.h"
#include "core/FileError.h"
#include "core/NotesMgr.h"
#include "core/SecretWipe.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CPasswordDlg.h"
#include "gui/DialogRunner.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

using AppTexts::text;

QString errorMessage(const FileError& error) {
    return QString::fromStdString(error.message());
}

} // namespace

CNotesDoc::CNotesDoc(SettingsStore* settings, QObject* parent)
    : QObject(parent), m_notes(std::make_unique<NotesMgr>(settings)), m_settings(settings) {
    NewDatabase(*m_notes);
}

CNotesDoc::~CNotesDoc() = default;

QString CNotesDoc::title() const {
    if (m_path.isEmpty())
        return QString::fromStdU16String(Texts::untitled);
    return QFileInfo(m_path).fileName();
}

bool CNotesDoc::isModified() const {
    return m_notes->IsModified();
}

void CNotesDoc::setModified(bool on) {
    const bool was = m_notes->IsModified();
    m_notes->SetModified(on);
    if (was != on)
        emit modifiedChanged(on);
}

void CNotesDoc::updateAllViews() {
    emit updated();
}

void CNotesDoc::OnNewDocument() {
    NewDatabase(*m_notes);
    m_path.clear();
    m_identity.reset();
    emit pathChanged();
    emit modifiedChanged(false);
    updateAllViews();
}

CNotesDoc::OpenOutcome CNotesDoc::OpenDocument(const QString& path) {
    // The file is read into a database of its own and taken over only when it
    // was read whole with the right password, so every failure and every
    // Cancel leaves the open database, with its unsaved changes, as it was.
    NotesMgr loaded;
    std::u16string password = m_notes->password;
    struct Wiper {
        std::u16string& text;
        ~Wiper() { WipeString(text); }
    } wipePassword{password};
    for (;;) {
        loaded.password = password;
        try {
            loaded.Load(localPath(path));
            break;
        } catch (const WrongPasswordError&) {
            CPasswordDlg prompt(m_dialogParent);
            if (RunDialog(prompt) != QDialog::Accepted)
                return {OpenResult::Cancelled, {}};
            password = prompt.password().toStdU16String();
        } catch (const FileError& error) {
            return {OpenResult::Failed, errorMessage(error)};
        } catch (const std::bad_alloc&) {
            return {OpenResult::Failed, errorMessage(FileError(FileError::Kind::Generic, localPath(path)))};
        }
    }
    m_notes->TakeContent(loaded);
    WipeString(m_notes->password);
    m_notes->password = password;
    m_notes->SetModified(false);
    m_path = QFileInfo(path).absoluteFilePath();
    RememberIdentity(m_path);
    m_notes->AddRecentFile(m_path.toStdU16String());
    emit pathChanged();
    emit modifiedChanged(false);
    updateAllViews();
    return {OpenResult::Opened, {}};
}

bool CNotesDoc::OnOpenDocument(const QString& path) {
    const OpenOutcome outcome = OpenDocument(path);
    if (outcome.result == OpenResult::Failed)
        ShowMessageBox(m_dialogParent, outcome.message, MessageIcon::Exclamation);
    return outcome.result == OpenResult::Opened;
}

QString CNotesDoc::AskSaveFileName(const QString& suggested) {
    QString name = FileDialogs::GetSaveFileName(m_dialogParent, text(AppTexts::fileFilter), suggested);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += text(AppTexts::extension);
    return name;
}

bool CNotesDoc::OnSave() {
    if (m_path.isEmpty())
        return OnSaveAs();
    return DoSave(m_path);
}

bool CNotesDoc::OnSaveAs() {
    const QString suggested =
        m_path.isEmpty() ? text(AppTexts::newFileBase) + text(AppTexts::extension) : m_path;
    const QString name = AskSaveFileName(suggested);
    if (name.isEmpty())
        return false;
    return DoSave(name);
}

bool CNotesDoc::AskFirstSaveProperties(const QString& path) {
    CDatabaseProperties properties(m_dialogParent);
    properties.setTitle(QFileInfo(path).completeBaseName());
    properties.setDescription(QString());
    properties.setPassword(QString());
    properties.setRepeat(QString());
    if (RunDialog(properties) != QDialog::Accepted)
        return false;
    m_notes->dbTitle = properties.title().toStdU16String();
    m_notes->dbDescription = properties.description().toStdU16String();
    WipeString(m_notes->password);
    m_notes->password = properties.password().toStdU16String();
    updateAllViews();
    return true;
}

// Another window, the other edition or the companion may have written the
// file since this window read or wrote it. Asks before overwriting their
// work; false on Cancel; `path` becomes the name chosen for Save As.
bool CNotesDoc::CheckUnchangedOnDisk(QString& path) {
    if (!m_identity || QFileInfo(path).absoluteFilePath() != m_path)
        return true;
    const std::optional<FileIdentity> now = ReadFileIdentity(localPath(path));
    if (!now || *now == *m_identity)
        return true;
    const QString question = text(AppTexts::changedOnDisk).arg(QFileInfo(path).fileName());
    switch (ShowMessageBox(m_dialogParent, question, MessageIcon::Exclamation,
                           MessageButtons::OverwriteSaveAsCancel)) {
    case MessageAnswer::Overwrite:
        return true;
    case MessageAnswer::SaveAs: {
        const QString other = AskSaveFileName(path);
        if (other.isEmpty())
            return false;
        path = other;
        return true;
    }
    default:
        return false;
    }
}

bool CNotesDoc::DoSave(const QString& chosen) {
    QString path = chosen;
    if (m_path.isEmpty() && !AskFirstSaveProperties(path))
        return false;
    if (!CheckUnchangedOnDisk(path))
        return false;
    try {
        m_notes->Save(localPath(path));
    } catch (const FileError& error) {
        // The database stays marked as changed: nothing reached the disk.
        ShowMessageBox(m_dialogParent, errorMessage(error), MessageIcon::Exclamation);
        return false;
    }
    const bool pathChangedNow = QFileInfo(path).absoluteFilePath() != m_path;
    m_path = QFileInfo(path).absoluteFilePath();
    RememberIdentity(m_path);
    m_notes->AddRecentFile(m_path.toStdU16String());
    setModified(false);
    if (pathChangedNow)
        emit pathChanged();
    return true;
}

void CNotesDoc::RememberIdentity(const QString& path) {
    m_identity = ReadFileIdentity(localPath(path));
}

bool CNotesDoc::SaveModified() {
    if (!isModified())
        return true;
    const QString question = text(AppTexts::saveChanges).arg(title());
    switch (ShowMessageBox(m_dialogParent, question, MessageIcon::Exclamation, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return OnSave();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void CNotesDoc::OnDatabaseProperties() {
    CDatabaseProperties properties(m_dialogParent);
    properties.setTitle(QString::fromStdU16String(m_notes->dbTitle));
    properties.setDescription(QString::fromStdU16String(m_notes->dbDescription));
    properties.setPassword(QString::fromStdU16String(m_notes->password));
    properties.setRepeat(QString::fromStdU16String(m_notes->password));
    if (RunDialog(properties) != QDialog::Accepted)
        return;
    m_notes->dbTitle = properties.title().toStdU16String();
    m_notes->dbDescription = properties.description().toStdU16String();
    WipeString(m_notes->password);
    m_notes->password = properties.password().toStdU16String();
    updateAllViews();
    setModified(true);
}

void CNotesDoc::OnEditTemplates() {
    const bool was = isModified();
    CCustomizeTemplateDlg templates(*m_notes, m_dialogParent);
    RunDialog(templates);
    if (isModified() != was)
        emit modifiedChanged(isModified());
    emit templatesChanged();
}
