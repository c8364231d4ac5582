#include "app/CNotesDoc.h"

#include "app/AppTexts.h"
#include "app/DatabasePropertiesCommand.h"
#include "app/MergeCommand.h"
#include "app/TemplatesCommand.h"
#include "core/FileError.h"
#include "core/FileKind.h"
#include "core/MemorySource.h"
#include "core/Merge.h"
#include "core/NotesMgr.h"
#include "core/SecretWipe.h"
#include "core/StreamReader.h"
#include "dialogs/CCustomizeTemplateDlg.h"
#include "dialogs/CDatabaseProperties.h"
#include "dialogs/CMergeReportDlg.h"
#include "dialogs/CPasswordDlg.h"
#include "gui/DialogRunner.h"
#include "gui/FileDialogs.h"
#include "gui/MessageBox.h"
#include "gui/OffUiThread.h"

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
    connect(&m_undo, &QUndoStack::indexChanged, this, &CNotesDoc::SyncModified);
    connect(&m_undo, &QUndoStack::cleanChanged, this, &CNotesDoc::SyncModified);
}

CNotesDoc::~CNotesDoc() {
    // The steps refer to the document; they go before it does.
    m_undo.disconnect(this);
    m_undo.clear();
}

QString CNotesDoc::title() const {
    if (m_path.isEmpty())
        return QString::fromStdU16String(Texts::untitled);
    return QFileInfo(m_path).fileName();
}

bool CNotesDoc::isModified() const {
    return m_notes->IsModified();
}

void CNotesDoc::setModified(bool on) {
    if (on) {
        m_changedOutsideStack = true;
    } else {
        m_changedOutsideStack = false;
        m_undo.setClean();
    }
    SyncModified();
}

void CNotesDoc::SyncModified() {
    const bool now = m_changedOutsideStack || !m_undo.isClean();
    m_notes->SetModified(now);
    if (now != m_modifiedShown) {
        m_modifiedShown = now;
        emit modifiedChanged(now);
    }
}

void CNotesDoc::ResetUndo() {
    m_undo.clear();
    m_changedOutsideStack = false;
    m_modifiedShown = false;
    m_notes->SetModified(false);
}

void CNotesDoc::PushChange(QUndoCommand* step) {
    if (step)
        m_undo.push(step);
    // The step's own changes set the database's flag; the stack decides it.
    SyncModified();
}

QUndoCommand* CNotesDoc::WithTemplateChange(QUndoCommand* step, const TemplateState& before) {
    TemplateState now = TemplateState::Of(*m_notes);
    if (now == before)
        return step;
    auto* change = new TemplatesCommand(*this, before, std::move(now), step);
    return step ? step : change;
}

void CNotesDoc::updateAllViews() {
    emit updated();
}

void CNotesDoc::OnNewDocument() {
    NewDatabase(*m_notes);
    m_notes->protection = Protection::Compatible;
    m_notes->strongKey.reset();
    ResetUndo();
    m_path.clear();
    m_identity.reset();
    m_base = FileSnapshot();
    emit pathChanged();
    emit modifiedChanged(false);
    updateAllViews();
}

void CNotesDoc::AddDefaultFolders() {
    const bool before = isModified();
    m_notes->AddDefaultFolders();
    // Told from the state before, so that modifiedChanged reaches the title.
    m_notes->SetModified(before);
    setModified(true);
    updateAllViews();
}

CNotesDoc::OpenOutcome CNotesDoc::OpenDocument(const QString& path) {
    // The file is read into a database of its own and taken over only when it
    // was read whole with the right password, so every failure and every
    // Cancel leaves the open database, with its unsaved changes, as it was.
    // Messages name the file by its full path.
    const QString full = QFileInfo(path).absoluteFilePath();
    // A strong file's key takes about a second to derive: its attempts run
    // off the user-interface thread, the window painting meanwhile.
    const std::string file = localPath(full);
    const bool slow = ProtectionOfFile(file) == Protection::Strong;
    NotesMgr loaded;
    // The same read gives the file's identity and the base of a later merge.
    FileSnapshot snapshot;
    loaded.strongKey = m_notes->strongKey;
    std::u16string password = m_notes->password;
    // The first try uses the password held; only a password the user typed
    // can be "not correct".
    bool typedWrong = false;
    bool wrongPassword = false;
    std::optional<QString> failure;
    const auto attempt = [&](const std::u16string& candidate) {
        loaded.password = candidate;
        try {
            loaded.Load(file, &snapshot);
            wrongPassword = false;
        } catch (const WrongPasswordError&) {
            wrongPassword = true;
        } catch (const FileError& error) {
            failure = errorMessage(error);
        } catch (const std::bad_alloc&) {
            failure = errorMessage(FileError(FileError::Kind::Generic, file));
        }
    };
    if (slow)
        RunOffUiThread([&] { attempt(password); });
    else
        attempt(password);
    while (wrongPassword && !failure) {
        CPasswordDlg prompt(m_dialogParent);
        prompt.ShowWrongPassword(typedWrong);
        if (slow)
            prompt.setWork([&](const QString& typed) { attempt(typed.toStdU16String()); });
        if (RunDialog(prompt) != QDialog::Accepted)
            return {OpenResult::Cancelled, {}};
        password = prompt.password().toStdU16String();
        typedWrong = true;
        if (!slow)
            attempt(password);
    }
    if (failure)
        return {OpenResult::Failed, *failure};
    m_notes->TakeContent(loaded);
    m_notes->TakeProtection(loaded);
    m_notes->password = password;
    ResetUndo();
    m_path = full;
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
    properties.setProtection(m_notes->protection);
    if (RunDialog(properties) != QDialog::Accepted)
        return false;
    m_notes->protection = properties.protection();
    m_notes->dbTitle = properties.title().toStdU16String();
    m_notes->dbDescription = properties.description().toStdU16String();
    WipeString(m_notes->password);
    m_notes->password = properties.password().toStdU16String();
    emit databaseItemChanged();
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
        // The name offered is not the file that must not be overwritten.
        const QString other = AskSaveFileName(FileDialogs::UnusedSiblingName(path));
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
    if (!PrepareStrongKey())
        return false;
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

// A strong key derived anew (the password or the kind changed) is derived
// off the user-interface thread, once, before the save.
bool CNotesDoc::PrepareStrongKey() {
    if (m_notes->protection != Protection::Strong || m_notes->StrongKeyFits())
        return true;
    if (m_notes->password.empty()) {
        ShowMessageBox(m_dialogParent, QString::fromUtf8(Texts::strongNeedsPassword),
                       MessageIcon::Exclamation);
        return false;
    }
    const std::u16string password = m_notes->password;
    const StrongKey::Costs costs = m_notes->strongCosts;
    std::shared_ptr<const StrongKey> key;
    try {
        RunOffUiThread([&] { key = std::make_shared<const StrongKey>(password, costs); });
    } catch (const std::bad_alloc&) {
        ShowMessageBox(m_dialogParent, errorMessage(FileError(FileError::Kind::Generic, localPath(m_path))),
                       MessageIcon::Exclamation);
        return false;
    }
    m_notes->strongKey = std::move(key);
    return true;
}

CNotesDoc::OpenOutcome CNotesDoc::LoadFile(NotesMgr& loaded, const QString& path, FileSnapshot* snapshot) {
    loaded.password = m_notes->password;
    // A strong file's key is derived off the user-interface thread, as in Open.
    const std::string file = localPath(path);
    const bool slow = ProtectionOfFile(file) == Protection::Strong;
    for (;;) {
        try {
            if (slow)
                RunOffUiThread([&] { loaded.Load(file, snapshot); });
            else
                loaded.Load(file, snapshot);
            return {OpenResult::Opened, {}};
        } catch (const WrongPasswordError&) {
            CPasswordDlg prompt(m_dialogParent);
            if (RunDialog(prompt) != QDialog::Accepted)
                return {OpenResult::Cancelled, {}};
            loaded.password = prompt.password().toStdU16String();
        } catch (const FileError& error) {
            return {OpenResult::Failed, errorMessage(error)};
        } catch (const std::bad_alloc&) {
            return {OpenResult::Failed, errorMessage(FileError(FileError::Kind::Generic, file))};
        }
    }
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

bool CNotesDoc::MergeWithFileOnDisk() {
    return !m_path.isEmpty() && MergeWithDisk(m_path);
}

bool CNotesDoc::TakeMergeResult(const MergeReport& report, NotesMgr& merged) {
    CMergeReportDlg dialog(report, m_dialogParent);
    if (RunDialog(dialog) != QDialog::Accepted)
        return false;
    // One step: Undo gives back the database as it was before the merge.
    // A merge that changed nothing is no step.
    if (report.changed)
        PushChange(new MergeCommand(*this, merged));
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
    properties.setProtection(m_notes->protection);
    if (RunDialog(properties) != QDialog::Accepted)
        return;
    // Like the password, the kind is written at the next save.
    DatabaseState after{properties.title().toStdU16String(), properties.description().toStdU16String(),
                        properties.password().toStdU16String(), properties.protection()};
    DatabaseState before = DatabaseState::Of(*m_notes);
    if (after == before)
        return;
    PushChange(new DatabasePropertiesCommand(*this, std::move(before), std::move(after)));
}

void CNotesDoc::OnEditTemplates() {
    const TemplateState before = TemplateState::Of(*m_notes);
    CCustomizeTemplateDlg templates(*m_notes, m_dialogParent);
    RunDialog(templates);
    PushChange(WithTemplateChange(nullptr, before));
    emit templatesChanged();
}
