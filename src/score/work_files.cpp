// Taking, publishing and deleting a document's working file, the recovery check of its autosave copy, and the
// private working files of untitled scores.
#include "score/work_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <system_error>
#include <unistd.h>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/companion_files.h"
#include "score/score_document.h"

namespace notavera {

namespace {

void ShowHeldElsewhere(UiServices& ui, const std::filesystem::path& document) {
    ui.beep();
    ui.showMessage({"Erreur", 0,
                    "Le fichier " + document.string() + " est déjà ouvert dans une autre fenêtre de Notavera",
                    MessageIcon::Exclamation, MessageButtons::Ok});
}

// True when the storage already holds the lock of that working file (the same document again).
bool HoldsLockOf(const DocumentStorage& st, const std::filesystem::path& working) {
    std::error_code ec;
    return st.lock.held() && std::filesystem::equivalent(st.lock.path(), LockFileName(working), ec);
}

// Takes the lock of the working file into `lock`, or shows why it cannot be had.
bool TakeLock(UiServices& ui, const std::filesystem::path& document, const std::filesystem::path& working,
              WorkingFileLock& lock) {
    if (!MakeWorkFolder(working.parent_path())) {
        ShowError(ui, msg::diskError);
        return false;
    }
    switch (lock.acquire(LockFileName(working))) {
        case WorkingFileLock::Result::Acquired: return true;
        case WorkingFileLock::Result::HeldElsewhere: ShowHeldElsewhere(ui, document); return false;
        case WorkingFileLock::Result::Failed: break;
    }
    ShowError(ui, msg::diskError);
    return false;
}

// The save dialog of the recovery check. True when the ".sav" may be deleted: the user declined,
// or its copy is safely written. A copy that failed, or a name that is the ".sav" itself, keeps it.
bool SaveRecoveredCopy(UiServices& ui, const std::filesystem::path& saved) {
    const auto chosen = ui.saveFileName({"", saved.string(), {{"Fichiers RECUPERATION (*.SAV)", "*.sav *.SAV"}}});
    if (!chosen || chosen->empty()) return true;
    std::error_code ec;
    if (std::filesystem::equivalent(*chosen, saved, ec)) return false;
    if (ReplaceWithCopy(saved, *chosen)) return true;
    ShowError(ui, msg::cannotWrite, &*chosen);
    return false;
}

// A document reached through a symbolic link is replaced where it really lies, keeping the link.
std::filesystem::path PublishTarget(const std::filesystem::path& document) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(document, ec)) return document;
    const auto target = std::filesystem::weakly_canonical(document, ec);
    return ec ? document : target;
}

// Offers an autosave copy left by a session that did not end with a save, then deletes it.
void OfferAutosaveCopy(UiServices& ui, const std::filesystem::path& saved) {
    std::error_code ec;
    if (!std::filesystem::exists(saved, ec)) return;
    const bool mayDelete = !AskYesNo(ui, msg::recoveryOffer, saved.string()) || SaveRecoveredCopy(ui, saved);
    if (mayDelete) std::filesystem::remove(saved, ec);
}

// Untitled scores are named "sans-nom-" and six letters or digits, ".sum" for the working file, ".sav" for
// its autosave copy.
constexpr std::string_view untitledStem = "sans-nom";

bool IsUntitledWorkingName(const std::string& name) {
    constexpr std::size_t unique = 6;
    const std::string_view extension = ".sum";
    if (name.size() != untitledStem.size() + 1 + unique + extension.size() || !name.starts_with(untitledStem) ||
        name[untitledStem.size()] != '-' || !name.ends_with(extension))
        return false;
    const auto first = name.begin() + static_cast<std::ptrdiff_t>(untitledStem.size() + 1);
    return std::all_of(first, first + unique, [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

std::filesystem::path UntitledAutosaveName(const std::filesystem::path& working) {
    return WithExtension(working, ".sav");
}

// The copies of a publication, an autosave or an undo step that a killed session left half made, and the undo
// steps it left whole: the history starts afresh at every opening, so they serve nobody.
void RemoveInterruptedCopies(const std::filesystem::path& document) {
    RemoveStagedCopies(PublishTarget(document));
    RemoveStagedCopies(BackupName(document));
    RemoveStagedCopies(AutosaveName(document));
    for (int digit = 0; digit <= 9; ++digit)
        for (const bool redo : {false, true})
            if (const auto step = CompanionFileName(document, digit, redo)) RemoveStagedCopies(*step);
    DeleteCompanionFiles(document);
}

// Moves the working file of the document to the name of its new working file. Across file systems
// (a private work folder on the other side) it is copied and the open stream follows it.
bool MoveWorkingFile(DocumentStorage& st, const std::filesystem::path& working) {
    if (st.working && !st.working->flush()) return false;
    if (std::rename(st.workingPath.c_str(), working.c_str()) == 0) return true;
    if (!CopyFile(st.workingPath, working)) return false;
    if (st.working) {
        st.working = BinaryFile::open(working, "rb+");
        if (!st.working) return false;
    }
    std::error_code ec;
    std::filesystem::remove(st.workingPath, ec);
    return true;
}

}  // namespace

bool PrepareWorkingFile(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& document,
                        bool recoveryCheck) {
    DocumentStorage& st = doc.storage;
    const std::filesystem::path working = WorkingFileName(document);
    const bool sameDocument = HoldsLockOf(st, working);
    WorkingFileLock lock;
    if (!sameDocument && !TakeLock(ui, document, working, lock)) return false;
    // Holding the lock, no other instance is publishing this document: what staging copies remain are leftovers.
    RemoveInterruptedCopies(document);
    // Before the document is copied to the working file, so that a copy saved over the document is what opens.
    if (recoveryCheck) OfferAutosaveCopy(ui, AutosaveName(document));
    std::error_code ec;
    if (!CopyFile(document, working) || !std::filesystem::exists(working, ec)) {
        ShowError(ui, msg::diskError);
        return false;
    }
    if (!sameDocument) {
        // The document opened before gives way: its working files go, unless they are these very ones.
        if (!st.workingPath.empty() && !std::filesystem::equivalent(st.workingPath, working, ec)) DeleteWorkFiles(doc);
        st.lock = std::move(lock);
    }
    st.path = document;
    st.workingPath = working;
    return true;
}

bool NameDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& document) {
    DocumentStorage& st = doc.storage;
    const std::filesystem::path working = WorkingFileName(document);
    if (!HoldsLockOf(st, working)) {
        WorkingFileLock lock;
        if (!TakeLock(ui, document, working, lock)) return false;
        std::error_code ec;
        const bool hasWorkingFile = st.fileState != FileState::None && std::filesystem::exists(st.workingPath, ec);
        if (hasWorkingFile && !MoveWorkingFile(st, working)) {
            ShowError(ui, msg::diskError);
            return false;
        }
        const std::filesystem::path oldFolder = st.workingPath.parent_path();
        if (st.path.empty() && !st.workingPath.empty()) {
            // An untitled score's files go once it has a name of its own.
            std::error_code ec;
            std::filesystem::remove(UntitledAutosaveName(st.workingPath), ec);
            std::filesystem::remove(st.workingPath, ec);
        }
        st.lock = std::move(lock);
        if (!st.workingPath.empty()) RemoveWorkFolderIfEmpty(oldFolder);
    }
    st.path = document;
    st.workingPath = working;
    return true;
}

bool PublishWorkingFile(ScoreDocument& doc) {
    DocumentStorage& st = doc.storage;
    if (st.path.empty() || st.workingPath.empty()) return false;
    if (st.working && !st.working->flush()) return false;
    const std::filesystem::path target = PublishTarget(st.path);
    std::error_code ec;
    // A document or folder kept read-only is not written behind its owner's back, though the system would allow it.
    if ((std::filesystem::exists(target, ec) && !WritableByUser(target)) || !WritableByUser(target.parent_path()))
        return false;
    // The new version is on disk before anything is replaced; the old one becomes the backup.
    auto published = StagedCopy::write(st.workingPath, target);
    if (!published) return false;
    if (std::filesystem::exists(target, ec) && !ReplaceWithCopy(target, BackupName(st.path))) return false;
    if (!published->commit()) return false;
    st.fileState = FileState::Open;
    std::filesystem::remove(AutosaveName(st.path), ec);
    return true;
}

std::filesystem::path AutosaveCopyName(const DocumentStorage& st) {
    if (!st.path.empty()) return AutosaveName(st.path);
    return st.workingPath.empty() ? std::filesystem::path() : UntitledAutosaveName(st.workingPath);
}

bool GiveUntitledWorkingFile(ScoreDocument& doc) {
    DocumentStorage& st = doc.storage;
    const std::filesystem::path folder = UntitledFolder();
    if (folder.empty()) return false;
    std::string name = (folder / (std::string(untitledStem) + "-XXXXXX.sum")).string();
    const int fd = mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    WorkingFileLock lock;
    if (lock.acquire(LockFileName(name)) != WorkingFileLock::Result::Acquired) {
        ::unlink(name.c_str());
        return false;
    }
    st.lock = std::move(lock);
    st.workingPath = name;
    return true;
}

void RecoverUntitledScores(UiServices& ui) {
    const std::filesystem::path folder = UntitledFolder();
    if (folder.empty()) return;
    std::error_code ec;
    std::set<std::filesystem::path> working;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::filesystem::path file = entry.path();
        if (file.extension() == ".sav") file.replace_extension(".sum");
        if (IsUntitledWorkingName(file.filename().string())) working.insert(file);
    }
    for (const std::filesystem::path& file : working) {
        WorkingFileLock lock;
        if (lock.acquire(LockFileName(file)) != WorkingFileLock::Result::Acquired) continue;  // still being edited
        OfferAutosaveCopy(ui, UntitledAutosaveName(file));
        std::filesystem::remove(file, ec);
    }
}

void DeleteWorkFiles(ScoreDocument& doc) {
    DocumentStorage& st = doc.storage;
    st.working.reset();
    if (!st.workingPath.empty()) {
        // Only the instance that holds the working file may delete it: after a refused opening the
        // storage may name a working file that another instance is using.
        WorkingFileLock unheld;
        const bool ours = HoldsLockOf(st, st.workingPath) ||
                          unheld.acquire(LockFileName(st.workingPath)) == WorkingFileLock::Result::Acquired;
        std::error_code ec;
        if (ours) std::filesystem::remove(st.workingPath, ec);
        // An untitled score closed on purpose leaves nothing to recover.
        if (ours && st.path.empty()) std::filesystem::remove(UntitledAutosaveName(st.workingPath), ec);
        // The undo steps are copies of that working file and go with it.
        if (ours && !st.path.empty()) DeleteCompanionFiles(st.path);
        unheld.release();
        st.lock.release();
        RemoveWorkFolderIfEmpty(st.workingPath.parent_path());
    }
    st.workingPath.clear();
    st.fileState = FileState::None;
}

}  // namespace notavera
