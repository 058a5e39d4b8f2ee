#include "records/file_errors.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quimbra::records {

std::string failureMessage(Action action, const std::string& path, const std::string& reason) {
    const char* what = "";
    switch (action) {
        case Action::createFolder:
            what = "Impossibile creare la cartella \"";
            break;
        case Action::reachFolder:
            what = "Impossibile raggiungere la cartella \"";
            break;
        case Action::createFile:
            what = "Impossibile creare il file \"";
            break;
        case Action::read:
            what = "Impossibile leggere il file \"";
            break;
        case Action::write:
            what = "Impossibile scrivere il file \"";
            break;
        case Action::replace:
            what = "Impossibile sostituire il file \"";
            break;
        case Action::remove:
            what = "Impossibile eliminare il file \"";
            break;
        case Action::lock:
            what = "Impossibile riservare il file \"";
            break;
        case Action::sync:
            what = "Impossibile confermare la scrittura sul disco nella cartella \"";
            break;
    }
    return what + path + "\": " + reason + ".";
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
