#include "records/file_errors.h"

#include <cerrno>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quimbra::records {

namespace {

// For each Action, in its order: what could not be done to a file or
// folder, and what the start could not do with the record files.
struct ActionTexts {
    const char* failure;
    const char* atStart;
};
constexpr ActionTexts actionTexts[] = {
    {"creare la cartella", "creare la cartella dei record"},
    // The technician's folder, which the game never creates.
    {"raggiungere la cartella", "raggiungere la cartella dei record"},
    {"creare il file", "creare i file del record"},
    {"leggere il file", "leggere i file del record"},
    // A write that a crash interrupted, finished or undone at the start.
    {"scrivere il file", "scrivere i file del record"},
    {"sostituire il file", "sostituire i file del record"},
    {"eliminare il file", "eliminare un file del record"},
    {"riservare il file", "riservare i file del record"},
    {"confermare la scrittura sul disco nella cartella",
     "confermare la scrittura dei file del record sul disco"},
};
static_assert(std::size(actionTexts) == static_cast<std::size_t>(Action::sync) + 1);

const ActionTexts& textsOf(Action action) {
    return actionTexts[static_cast<std::size_t>(action)];
}

}  // namespace

std::string failureMessage(Action action, const std::string& path, const std::string& reason) {
    return std::string("Impossibile ") + textsOf(action).failure + " \"" + path + "\": " + reason +
           ".";
}

std::string failedAtStart(Action action) {
    return textsOf(action).atStart;
}

std::string errnoReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "permesso negato";
        case EROFS:
            return "il disco è di sola lettura";
        case ENOSPC:
            return "il disco è pieno";
#ifdef EDQUOT
        case EDQUOT:
            return "lo spazio concesso sul disco è esaurito";
#endif
        case EISDIR:
            return reasons::directoryInPlace;
        case ENOTDIR:
            return reasons::notADirectory;
        case ENOENT:
            return "il file o la cartella non esiste";
        case EEXIST:
            return "esiste già";
        case ELOOP:
            return "troppi collegamenti simbolici, o un collegamento dove non è ammesso";
        case EIO:
            return "errore di lettura o scrittura sul disco";
        case ENAMETOOLONG:
            return "il percorso è troppo lungo";
        case EMFILE:
        case ENFILE:
            return "troppi file aperti";
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return "il file è in uso";
        case EFBIG:
            return "il file è troppo grande";
        case EINVAL:
            return "operazione non valida per questo file";
        case ENOLCK:
            return "il sistema non permette di riservare i file";
        default:
            return "errore di sistema numero " + std::to_string(error);
    }
}

#ifdef _WIN32
std::string windowsErrorReason(unsigned long error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
            return "permesso negato";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "il file o la cartella non esiste";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "il disco è pieno";
        case ERROR_WRITE_PROTECT:
            return "il disco è di sola lettura";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "il file è bloccato da un altro programma";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return "esiste già";
        case ERROR_DIRECTORY:
            return reasons::notADirectory;
        case ERROR_FILENAME_EXCED_RANGE:
            return "il percorso è troppo lungo";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return "il nome del file non è valido";
        case ERROR_CANT_RESOLVE_FILENAME:
            return "troppi collegamenti simbolici";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "troppi file aperti";
        case ERROR_NOT_READY:
            return "il disco non è pronto";
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return "errore di lettura o scrittura sul disco";
        default:
            return "errore di sistema numero " + std::to_string(error);
    }
}
#endif

}  // namespace quimbra::records
