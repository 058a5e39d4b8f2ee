#pragma once
// The Italian texts that tell the player why a record file could not be used.

#include <string>

#include "records/record_storage.h"

namespace quimbra::records {

// E.g. Impossibile leggere il file "/home/anna/.local/share/quimbra/vondu.txt": permesso negato.
std::string failureMessage(Action action, const std::string& path, const std::string& reason);
// That message, as the failed action's status.
Status failed(Action action, const std::string& path, const std::string& reason);

// What the start could not do, after "non sono riuscito a ...", e.g. "leggere i file del record".
std::string failedAtStart(Action action);

std::string errnoReason(int error);
#ifdef _WIN32
std::string windowsErrorReason(unsigned long error);  // of GetLastError
#endif

namespace reasons {
inline constexpr const char* directoryInPlace = "al suo posto c'è una cartella";
inline constexpr const char* notRegular = "non è un file normale";
inline constexpr const char* danglingLink = "è un collegamento a un file che non esiste";
inline constexpr const char* notADirectory = "una parte del percorso non è una cartella";
inline constexpr const char* readOnlyFile = "il file è di sola lettura";
inline constexpr const char* linkInPlace =
    "al suo posto c'è un collegamento, che non viene seguito";
inline constexpr const char* lockBusy =
    "un'altra partita li sta usando da troppo tempo; riprova fra poco";
inline constexpr const char* writeReturnedNothing = "il disco non ha accettato i dati";
}  // namespace reasons

}  // namespace quimbra::records
