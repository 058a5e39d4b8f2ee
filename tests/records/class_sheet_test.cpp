#include "records/class_sheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "records/class_sheet_file.h"
#include "support/hooked_files.h"

namespace quimbra::records {
namespace {

const std::string header =
    "\xEF\xBB\xBF"
    "Data;Ora;Nome;Esatte;Sbagliate;Totale;Tempo di gioco;Record;Computer\r\n";
std::string row(const std::string& name) {
    return "2026-12-08;10:42;" + name + ";7;2;9;03:15;;PC-1\r\n";
}

// A row as the game writes it, without its last n bytes: where a crash or a
// full disk stopped the write.
std::string written(const std::string& name) {
    return formatSheetRow({"2026-12-08", "10:42", name, 7, 2, 9, "03:15", false, "PC-1"});
}
std::string cut(const std::string& name, std::size_t n) {
    return written(name).substr(0, written(name).size() - n);
}

struct ReadingCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;
    std::size_t skipped;
};

TEST(ClassSheetReading, KeepsWholeRowsAndSkipsTheRest) {
    const std::vector<ReadingCase> cases = {
        {"empty file", "", {}, 0},
        {"header only", header, {}, 0},
        {"no header, lone LF", "2026-12-08;9:05;Ada;1;0;1;00:40;;PC\n", {"Ada"}, 0},
        {"quoted ; \" and line break",
         header + row("\"Rossi; Ada\"") + row("\"Il \"\"Bello\"\"\"") + row("\"Due\r\nrighe\""),
         {"Rossi; Ada", "Il \"Bello\"", "Due\r\nrighe"},
         0},
        {"formula guard taken off",
         header + row("'=1+1") + row("'-3") + row("'@x") + row("\"'\tTab\"") + row("'+39"),
         {"=1+1", "-3", "@x", "\tTab", "+39"},
         0},
        {"a quote alone is not a guard", row("'Ciao") + row("'"), {"'Ciao", "'"}, 0},
        {"accents kept", row("Niccolò Società"), {"Niccolò Società"}, 0},
        {"last row cut short", header + row("Ada") + "2026-12-08;10:43;Bea;5;1", {"Ada"}, 1},
        {"cut row, then a whole one on its line",
         header + "2026-12-08;10:4" + row("Ada") + row("Bea"),
         {"Ada", "Bea"},
         1},
        {"cut inside an open quote",
         header + "2026-12-08;10:42;\"Ad" + row("Bea") + row("\"Cè\""),
         {"Bea", "Cè"},
         1},
        {"open quote cut, next row on the next line",
         "2026-12-08;10:42;\"Ad\r\n" + row("Bea"),
         {"Bea"},
         1},
        {"wrong field counts",
         row("Ada;x") + "2026-12-08;10:42;Bea;7;2;9\r\n" + row("Cè"),
         {"Cè"},
         2},
        {"non-numeric counts",
         "2026-12-08;10:42;Ada;sette;2;9;03:15;;PC\r\n" + row("Bea"),
         {"Bea"},
         1},
        {"not a date", "8 dic 2026;10:42;Ada;7;2;9;03:15;;PC\r\n" + row("Bea"), {"Bea"}, 1},
        {"a tenth field at the end",
         "2026-12-08;10:42;Ada;7;2;9;03:15;;PC-1;x\r\n" + row("Bea"),
         {"Bea"},
         1},
        {"line feed in a name", written("Due\nrighe") + row("Bea"), {"Due\nrighe", "Bea"}, 0},
        {"text after a closing quote", row("\"Ada\"x") + row("Bea"), {"Bea"}, 1},
        {"last field cut, ended by the next game's append",
         header + cut("Ada", 4) + "\r\n" + row("Bea"),
         {"Bea"},
         1},
        {"last field cut, no line end", header + row("Ada") + cut("Bea", 4), {"Ada"}, 1},
        {"cut before the last field, ended by the next append",
         cut("Ada", 8) + "\r\n" + row("Bea"),
         {"Bea"},
         1},
        {"last line saved by hand without a line end",
         header + row("Ada") + "2026-12-08;10:43;Bea;5;1;6;0:03:15;;PC-1",
         {"Ada", "Bea"},
         0},
        {"saved by LibreOffice Calc: no mark, LF, times with seconds",
         "Data;Ora;Nome;Esatte;Sbagliate;Totale;Tempo di gioco;Record;Computer\n"
         "2026-12-08;08:52:00;Zo\xC3\xA8;7;2;9;15:00:00;s\xC3\xAC;PC-1\n",
         {"Zo\xC3\xA8"},
         0},
        {"garbage and blank lines", "\x01\x02\xFF\r\n\r\n\n" + row("Ada") + header, {"Ada"}, 1},
    };
    for (const ReadingCase& c : cases) {
        const SheetReading reading = readClassSheet(c.bytes);
        std::vector<std::string> names;
        for (const SheetRow& r : reading.rows) {
            names.push_back(r.name);
        }
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(reading.skipped, c.skipped) << c.what;
    }
}

// What LibreOffice Calc and Excel write when they save the sheet again in
// Italy is read as the row the game wrote.
TEST(ClassSheetReading, AsSpreadsheetsSaveIt) {
    const SheetRow ada{"2026-12-08", "08:52", "Zo\xC3\xA8", 7, 2, 9, "03:15", true, "PC-1"};
    const std::pair<std::string, std::string> cases[] = {
        // the line, its time played
        {formatSheetRow(ada), "03:15"},
        {"2026-12-08;08:52:00;Zo\xC3\xA8;7;2;9;00:03:15;s\xC3\xAC;PC-1\n", "03:15"},  // Calc
        // An older sheet's minutes and seconds that Calc took for hours and minutes.
        {"2026-12-08;08:52:00;Zo\xC3\xA8;7;2;9;15:00:00;s\xC3\xAC;PC-1\n", "15:00"},
        {"2026-12-08;08:52:00;Zo\xC3\xA8;7;2;9;00:40:00;s\xC3\xAC;PC-1\n", "00:40"},
        // Excel's plain CSV, in Windows-1252; a short date.
        {"08/12/2026;08:52;Zo\xE8;7;2;9;0:03:15;s\xEC;\"PC-1\"\r\n", "03:15"},
        {"8/12/26;08:52;Zo\xC3\xA8;7;2;9;0:03:15;s\xC3\xAC;PC-1", "03:15"},
    };
    for (const auto& [line, played] : cases) {
        SheetRow expected = ada;
        expected.played = played;
        EXPECT_EQ(readClassSheet(line).rows, std::vector<SheetRow>{expected}) << line;
    }
}

namespace fs = std::filesystem;

// The archive takes the school years of the rows it holds (today's, on a
// day of December 2026, when it holds none) and a name no file has, also
// one that appears after the sheet was read (a share's cached listing would
// not show it): an earlier archive is never replaced. The past sheets are
// listed latest first.
TEST(ClassSheetArchive, NamedForItsRowsNeverReplacing) {
    const fs::path dir =
        fs::temp_directory_path() / ("quimbra-" + std::to_string(std::random_device{}()));
    fs::create_directory(dir);
    const auto put = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    };
    const auto bytesOf = [&](const std::string& name) {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const struct {
        std::string sheet, earlier;  // an archive that appears meanwhile
        const char *name, *years;
    } cases[] = {
        {header + "2026-10-05;10:42;Ada;7;2;9;03:15;;PC\r\n" + row("Bea"), "",
         "registro-2026-2027.csv", "2026-2027"},
        {header + "2026-06-05;10:42;Ada;7;2;9;03:15;;PC\r\n", "", "registro-2025-2026.csv",
         "2025-2026"},
        {header + "2025-10-05;10:42;Ada;7;2;9;03:15;;PC\r\n" + row("Bea"), "",
         "registro-2025-2027.csv", "2025-2027"},
        {header + "2026-06-05;10:4", "", "registro-2026-2027.csv", "2026-2027"},
        {header + row("Ada"), "registro-2026-2027.csv", "registro-2026-2027-2.csv",
         "2026-2027 (2)"},
    };
    for (const auto& c : cases) {
        put("registro.csv", c.sheet);
        testing::HookedFiles files([&](const std::string& operation, const std::string&) {
            if (!c.earlier.empty() && operation != "lockFile" && operation != "readStart") {
                put(c.earlier, "earlier");
            }
            return Status{};
        });
        const Archived archived = ClassSheetFile(dir.string(), files).startNewYear(2026);
        EXPECT_EQ(archived.name, c.name) << archived.status.error;
        EXPECT_EQ(bytesOf(c.name), c.sheet) << c.name;
        EXPECT_TRUE(c.earlier.empty() || bytesOf(c.earlier) == "earlier") << c.name;
        EXPECT_FALSE(fs::exists(dir / "registro.csv"));
        EXPECT_EQ(ClassSheetFile(dir.string(), files).pastSheets().front().years, c.years);
        for (const auto& entry : fs::directory_iterator(dir)) {
            fs::remove(entry.path());
        }
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quimbra::records
