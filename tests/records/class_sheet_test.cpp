#include "records/class_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quimbra::records {
namespace {

const std::string header =
    "\xEF\xBB\xBF"
    "Data;Ora;Nome;Esatte;Sbagliate;Totale;Tempo di gioco;Record;Computer\r\n";
std::string row(const std::string& name) {
    return "2026-12-08;10:42;" + name + ";7;2;9;03:15;;PC-1\r\n";
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
         header + row("'=1+1") + row("'-3") + row("'@x") + row("\"'\tTab\""),
         {"=1+1", "-3", "@x", "\tTab"},
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
        {"not a date", "08/12/2026;10:42;Ada;7;2;9;03:15;;PC\r\n" + row("Bea"), {"Bea"}, 1},
        {"text after a closing quote", row("\"Ada\"x") + row("Bea"), {"Bea"}, 1},
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
    const SheetReading one =
        readClassSheet(header + "2026-12-08;10:42;Ada;7;2;9;03:15;sì;PC-1\r\n");
    ASSERT_EQ(one.rows.size(), 1u);
    EXPECT_EQ(one.rows[0],
              (SheetRow{"2026-12-08", "10:42", "Ada", 7, 2, 9, "03:15", true, "PC-1"}));
}

}  // namespace
}  // namespace quimbra::records
