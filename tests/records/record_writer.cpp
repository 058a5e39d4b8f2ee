// A game's end, reduced to the record write: record_writer DIR SCORE NAME
// writes the record if SCORE beats the one on disk. The exit status is the
// outcome (WriteResult::Outcome); the message goes to standard error.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "records/record_files.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: record_writer DIR SCORE NAME\n", stderr);
        return 100;
    }
    const std::string dir = argv[1];
    const int score = std::atoi(argv[2]);
    quimbra::records::RecordFiles files(dir);
    const auto beats = [score](const std::string& onDisk) {
        return score > std::atoi(onDisk.c_str());
    };
    const quimbra::records::WriteResult written = files.writeRecord(dir, argv[2], argv[3], beats);
    std::fprintf(stderr, "%s\n", written.error.c_str());
    return static_cast<int>(written.outcome);
}
