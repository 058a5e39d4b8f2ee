#include "records/file_errors.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>

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

template <typename Code, std::size_t size>
std::string reasonIn(const std::pair<Code, const char*> (&table)[size], Code error) {
    const auto row = std::ranges::find(table, error, &std::pair<Code, const char*>::first);
    return row != std::end(table) ? row->second
                                  : "errore di sistema numero " + std::to_string(error);
}

constexpr std::pair<int, const char*> errnoReasons[] = {
    {EACCES, "permesso negato"},
    {EPERM, "permesso negato"},
    {EROFS, "il disco è di sola lettura"},
    {ENOSPC, "il disco è pieno"},
#ifdef EDQUOT
    {EDQUOT, "lo spazio concesso sul disco è esaurito"},
#endif
    {EISDIR, reasons::directoryInPlace},
    {ENOTDIR, reasons::notADirectory},
    {ENOENT, "il file o la cartella non esiste"},
    {EEXIST, "esiste già"},
    {ELOOP, "troppi collegamenti simbolici, o un collegamento dove non è ammesso"},
    {EIO, "errore di lettura o scrittura sul disco"},
    {ENAMETOOLONG, "il percorso è troppo lungo"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti"},
    {EBUSY, "il file è in uso"},
#ifdef ETXTBSY
    {ETXTBSY, "il file è in uso"},
#endif
    {EFBIG, "il file è troppo grande"},
    {EINVAL, "operazione non valida per questo file"},
    {ENOLCK, "il sistema non permette di riservare i file"},
};

#ifdef _WIN32
constexpr const char* shareAway = "il server non risponde o la cartella condivisa non esiste";
constexpr std::pair<unsigned long, const char*> windowsReasons[] = {
    {ERROR_ACCESS_DENIED, "permesso negato"},
    {ERROR_FILE_NOT_FOUND, "il file o la cartella non esiste"},
    {ERROR_PATH_NOT_FOUND, "il file o la cartella non esiste"},
    {ERROR_DISK_FULL, "il disco è pieno"},
    {ERROR_HANDLE_DISK_FULL, "il disco è pieno"},
    {ERROR_WRITE_PROTECT, "il disco è di sola lettura"},
    {ERROR_SHARING_VIOLATION, "il file è bloccato da un altro programma"},
    {ERROR_LOCK_VIOLATION, "il file è bloccato da un altro programma"},
    {ERROR_FILE_EXISTS, "esiste già"},
    {ERROR_ALREADY_EXISTS, "esiste già"},
    {ERROR_DIRECTORY, reasons::notADirectory},
    {ERROR_FILENAME_EXCED_RANGE, "il percorso è troppo lungo"},
    {ERROR_INVALID_NAME, "il nome del file non è valido"},
    {ERROR_BAD_PATHNAME, "il nome del file non è valido"},
    {ERROR_CANT_RESOLVE_FILENAME, "troppi collegamenti simbolici"},
    {ERROR_TOO_MANY_OPEN_FILES, "troppi file aperti"},
    {ERROR_NOT_READY, "il disco non è pronto"},
    {ERROR_CRC, "errore di lettura o scrittura sul disco"},
    {ERROR_READ_FAULT, "errore di lettura o scrittura sul disco"},
    {ERROR_WRITE_FAULT, "errore di lettura o scrittura sul disco"},
    {ERROR_GEN_FAILURE, "errore di lettura o scrittura sul disco"},
    // What Windows (and Wine) say of a share that is away.
    {ERROR_BAD_NETPATH, shareAway},
    {ERROR_BAD_NET_NAME, shareAway},
    {ERROR_BAD_DEV_TYPE, shareAway},
    {ERROR_NETNAME_DELETED, shareAway},
    {ERROR_NETWORK_UNREACHABLE, shareAway},
    {ERROR_HOST_UNREACHABLE, shareAway},
    {ERROR_NO_NET_OR_BAD_PATH, shareAway},
    {ERROR_UNEXP_NET_ERR, shareAway},
    {ERROR_SEM_TIMEOUT, shareAway},
};
#endif

}  // namespace

Status failed(Action action, const std::string& path, const std::string& reason) {
    return {failureMessage(action, path, reason), action};
}

std::string failureMessage(Action action, const std::string& path, const std::string& reason) {
    return std::string("Impossibile ") + actionTexts[static_cast<std::size_t>(action)].failure +
           " \"" + path + "\": " + reason + ".";
}

std::string failedAtStart(Action action) {
    return actionTexts[static_cast<std::size_t>(action)].atStart;
}

std::string errnoReason(int error) {
    return reasonIn(errnoReasons, error);
}

#ifdef _WIN32
std::string windowsErrorReason(unsigned long error) {
    return reasonIn(windowsReasons, error);
}
#endif

}  // namespace quimbra::records
