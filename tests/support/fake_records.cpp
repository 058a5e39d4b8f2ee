#include "support/fake_records.h"

namespace quimbra::testing {

records::Status FakeRecords::createMissing(const std::string& windowsDir) {
    createdIn.push_back(windowsDir);
    if (!createError.empty()) {
        return {createError};
    }
    if (!scoreFile) {
        scoreFile = "";
    }
    if (!nameFile) {
        nameFile = "";
    }
    return {};
}

records::ReadResult FakeRecords::Leggifiletxt(const std::string& nomefile) {
    read.push_back(nomefile);
    const bool isScore = nomefile == records::scoreFilePath(dir);
    const bool isName = nomefile == records::nameFilePath(dir);
    const std::string& error = isScore ? scoreReadError : nameReadError;
    const std::optional<std::string>& file = isScore ? scoreFile : nameFile;
    if ((!isScore && !isName) || !error.empty() || !file) {
        return {"", error.empty() ? "Il file " + nomefile + " non esiste." : error};
    }
    return {*file, ""};
}

records::Status FakeRecords::writeRecord(const std::string& windowsDir, const std::string& score,
                                         const std::string& name) {
    ++writeAttempts;
    if (!writeError.empty()) {
        return {writeError};
    }
    writes.push_back({windowsDir, score, name});
    scoreFile = score + "\r\n";
    nameFile = name + "\r\n";
    return {};
}

}  // namespace quimbra::testing
