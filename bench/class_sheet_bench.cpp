// How long the teacher's window takes to show a class sheet of 100,000 rows,
// beside a bare Qt table of the same file's lines: each round reads the file
// and shows the window until it is drawn. Run under a display (bench/run.sh
// runs it under Xvfb): class_sheet_bench [rows] [rounds]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringListModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "register/class_sheet_window.h"

namespace {

// A sheet as the game appends it: 25 pupils, a few games a day, one school year.
std::string sampleSheet(int rows) {
    const char* const names[] = {"Ada",    "Bea",    "Carlo", "Niccolò", "Léa",
                                 "Zoë",    "Luca",   "Marta", "Nicola",  "Olga",
                                 "Pietro", "Rita",   "Sara",  "Tommaso", "Ugo",
                                 "Vera",   "Walter", "Yuri",  "Aurora",  "Bruno",
                                 "Chiara", "Dario",  "Elena", "Fabio",   "\"Gigi; il grande\""};
    std::string text =
        "\xEF\xBB\xBF"
        "Data;Ora;Nome;Esatte;Sbagliate;Totale;Tempo di gioco;Record;Computer\r\n";
    char line[160];
    for (int i = 0; i < rows; ++i) {
        const int day = i / 300;
        const int right = (i * 7) % 23;
        const int wrong = (i * 3) % 5;
        std::snprintf(line, sizeof line,
                      "2025-%02d-%02d;%02d:%02d;%s;%d;%d;%d;%02d:%02d;%s;AULA-%d\r\n",
                      9 + day / 28 % 4, 1 + day % 28, 8 + i % 6, i % 60, names[i % 25], right,
                      wrong, right + wrong, 5 + i % 10, i % 60, i % 97 == 0 ? "sì" : "", i % 12);
        text += line;
    }
    return text;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from nothing to the widget `show` made, drawn.
double timed(const std::function<QWidget*()>& show) {
    QElapsedTimer timer;
    timer.start();
    QWidget* widget = show();
    widget->show();
    widget->repaint();
    QApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    delete widget;
    QApplication::processEvents();
    return ms;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registro.csv"));
    const std::string sheet = sampleSheet(rows);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sheet.data(), qint64(sheet.size())) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    std::vector<double> bare;
    std::vector<double> window;
    for (int round = 0; round <= rounds; ++round) {  // round 0 warms up
        const double b = timed([&] {
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly)) {
                std::abort();
            }
            auto* model =
                new QStringListModel(QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n")));
            auto* view = new QTableView;
            model->setParent(view);
            view->setModel(model);
            view->resize(1000, 700);
            return view;
        });
        const double w = timed([&] {
            return new quimbra::teacher::ClassSheetWindow(dir.path() + QDir::separator(),
                                                          QDate(2025, 12, 20));
        });
        if (round > 0) {
            bare.push_back(b);
            window.push_back(w);
        }
    }
    std::printf("%d rows (%.1f MiB), median of %d rounds:\n", rows,
                double(sheet.size()) / 1048576.0, rounds);
    std::printf("  bare QTableView of the file's lines: %7.1f ms\n", median(bare));
    std::printf("  Registro di Quimbra:                 %7.1f ms  (%.2f x)\n", median(window),
                median(window) / median(bare));
    return 0;
}
