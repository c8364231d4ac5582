#include "app/CNotesDoc.h"

#include "app/AppTexts.h"
#include "core/FileError.h"
#include "core/MemorySource.h"
#include "core/Merge.h"
#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CMergeReportDlg.h"
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
    m_base = FileSnapshot();
    emit pathChanged();
    emit modifiedChanged(false);
    updateAllViews();
}

CNotesDoc::OpenOutcome CNotesDoc::LoadFile(NotesMgr& loaded, const QString& path, FileSnapshot* snapshot) {
    loaded.password = m_notes->password;
    for (;;) {
        try {
            loaded.Load(localPath(path), snapshot);
            return {OpenResult::Opened, {}};
        } catch (const WrongPasswordError&) {
            CPasswordDlg prompt(m_dialogParent);
            if (RunDialog(prompt) != QDialog::Accepted)
                return {OpenResult::Cancelled, {}};
            loaded.password = prompt.password().toStdU16String();
        } catch (const FileError& error) {
            return {OpenResult::Failed, errorMessage(error)};
        } catch (const std::bad_alloc&) {
            return {OpenResult::Failed, errorMessage(FileError(FileError::Kind::Generic, localPath(path)))};
        }
    }
}

CNotesDoc::OpenOutcome CNotesDoc::OpenDocument(const QString& path) {
    // The file is read into a database of its own and taken over only when it
    // was read whole with the right password, so every failure and every
    // Cancel leaves the open database, with its unsaved changes, as it was.
    // The same read gives the file's identity and the base of a later merge.
    NotesMgr loaded;
    FileSnapshot snapshot;
    const OpenOutcome outcome = LoadFile(loaded, path, &snapshot);
    if (outcome.result != OpenResult::Opened)
        return outcome;
    m_notes->TakeContent(loaded);
    m_notes->password = loaded.password;
    m_notes->SetModified(false);
    m_path = QFileInfo(path).absoluteFilePath();
    RememberSnapshot(std::move(snapshot));
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
    m_notes->password = properties.password().toStdU16String();
    updateAllViews();
    return true;
}

// Another window, the other edition or the companion may have written the
// file since this window read or wrote it. Asks before overwriting their
// work: Merge (the default) brings both together and saves the result;
// `path` becomes the name chosen for Save As.
CNotesDoc::DiskCheck CNotesDoc::CheckUnchangedOnDisk(QString& path) {
    if (!m_identity || QFileInfo(path).absoluteFilePath() != m_path)
        return DiskCheck::Proceed;
    const std::optional<FileIdentity> now = ReadFileIdentity(localPath(path));
    if (!now || *now == *m_identity)
        return DiskCheck::Proceed;
    const QString question = text(AppTexts::changedOnDisk).arg(QFileInfo(path).fileName());
    switch (ShowMessageBox(m_dialogParent, question, MessageIcon::Exclamation,
                           MessageButtons::MergeOverwriteSaveAsCancel)) {
    case MessageAnswer::Merge:
        return MergeWithDisk(path) ? DiskCheck::Merged : DiskCheck::Cancelled;
    case MessageAnswer::Overwrite:
        return DiskCheck::Proceed;
    case MessageAnswer::SaveAs: {
        const QString other = AskSaveFileName(path);
        if (other.isEmpty())
            return DiskCheck::Cancelled;
        path = other;
        return DiskCheck::Proceed;
    }
    default:
        return DiskCheck::Cancelled;
    }
}

bool CNotesDoc::DoSave(const QString& chosen) {
    QString path = chosen;
    if (m_path.isEmpty() && !AskFirstSaveProperties(path))
        return false;
    switch (CheckUnchangedOnDisk(path)) {
    case DiskCheck::Cancelled:
        return false;
    case DiskCheck::Merged:
        return true;
    case DiskCheck::Proceed:
        break;
    }
    return WriteFile(path);
}

bool CNotesDoc::WriteFile(const QString& path) {
    FileSnapshot snapshot;
    try {
        m_notes->Save(localPath(path), &snapshot);
    } catch (const FileError& error) {
        // The database stays marked as changed: nothing reached the disk.
        ShowMessageBox(m_dialogParent, errorMessage(error), MessageIcon::Exclamation);
        return false;
    }
    const bool pathChangedNow = QFileInfo(path).absoluteFilePath() != m_path;
    m_path = QFileInfo(path).absoluteFilePath();
    RememberSnapshot(std::move(snapshot));
    m_notes->AddRecentFile(m_path.toStdU16String());
    setModified(false);
    if (pathChangedNow)
        emit pathChanged();
    return true;
}

void CNotesDoc::RememberSnapshot(FileSnapshot snapshot) {
    m_identity = snapshot.identity;
    m_base = std::move(snapshot);
    m_basePassword = m_notes->password;
}

bool CNotesDoc::ReadOtherFile(NotesMgr& into, const QString& path) {
    const OpenOutcome read = LoadFile(into, path, nullptr);
    if (read.result == OpenResult::Failed)
        ShowMessageBox(m_dialogParent, read.message, MessageIcon::Exclamation);
    return read.result == OpenResult::Opened;
}

bool CNotesDoc::MergeWithDisk(const QString& path) {
    NotesMgr disk;
    if (!ReadOtherFile(disk, path))
        return false;
    NotesMgr base;
    try {
        MemorySource source(m_base.stream);
        StreamReader reader(source);
        base.Serialize(reader);
    } catch (const FileError& error) {
        ShowMessageBox(m_dialogParent, errorMessage(error), MessageIcon::Exclamation);
        return false;
    }
    base.password = m_basePassword;
    NotesMgr merged;
    const MergeReport report = Merge(base, *m_notes, disk, merged);
    return TakeMergeResult(report, merged) && WriteFile(path);
}

bool CNotesDoc::TakeMergeResult(const MergeReport& report, NotesMgr& merged) {
    CMergeReportDlg dialog(report, m_dialogParent);
    if (RunDialog(dialog) != QDialog::Accepted)
        return false;
    const bool changed = report.changed;
    m_notes->TakeContent(merged);
    m_notes->password = merged.password;
    updateAllViews();
    if (changed)
        setModified(true);
    return true;
}

bool CNotesDoc::OnMergeWith() {
    const QString path = FileDialogs::GetOpenFileName(m_dialogParent, text(AppTexts::fileFilter));
    return !path.isEmpty() && MergeWithFile(path);
}

bool CNotesDoc::MergeWithFile(const QString& path) {
    NotesMgr other;
    if (!ReadOtherFile(other, path))
        return false;
    NotesMgr merged;
    const MergeReport report = MergeTwoWay(*m_notes, other, merged);
    return TakeMergeResult(report, merged) && (!isModified() || OnSave());
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
