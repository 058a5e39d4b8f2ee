#include "register/class_sheet_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "records/class_sheet.h"
#include "records/file_operations.h"
#include "register/class_sheet_chart.h"
#include "register/class_sheet_model.h"
#include "register/class_sheet_pdf.h"
#include "window/application.h"

namespace quimbra::teacher {
namespace {

// A path as a message shows it: the system's separators, kept whole.
QString shownPath(const QString& path) {
    return window::keepPathsWhole(QDir::toNativeSeparators(path));
}

// What every size and font is drawn for at factor 1.
constexpr QSize drawnFor(1000, 700);

const char* const periodNames[] = {"Oggi", "Questa settimana", "Quest'anno scolastico", "Tutto"};

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString skippedLine(std::size_t skipped) {
    return skipped == 1
               ? QStringLiteral("1 riga del registro è danneggiata e non è mostrata.")
               : QStringLiteral("%1 righe del registro sono danneggiate e non sono mostrate.")
                     .arg(skipped);
}

// Sorting from the keyboard: the table's context menu (the menu key, or
// Shift+F10) offers every column; the column sorted already goes the other
// way, as a click on its title does.
void addSortActions(QTableView* view) {
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        auto* action =
            new QAction(QStringLiteral("Ordina per %1")
                            .arg(view->model()->headerData(column, Qt::Horizontal).toString()),
                        view);
        QObject::connect(action, &QAction::triggered, view, [view, column] {
            const QHeaderView* header = view->horizontalHeader();
            const bool flip = header->sortIndicatorSection() == column &&
                              header->sortIndicatorOrder() == Qt::AscendingOrder;
            view->sortByColumn(column, flip ? Qt::DescendingOrder : Qt::AscendingOrder);
        });
        view->addAction(action);
    }
}

QTableView* makeTable(QWidget* parent, const QString& name) {
    auto* view = new QTableView(parent);
    view->setAccessibleName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setSortingEnabled(false);
    view->setWordWrap(false);
    // Fixed heights, no row numbers: 100,000 rows are laid out at once.
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setTabKeyNavigation(false);
    return view;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ClassSheetWindow::ClassSheetWindow(const QString& recordsDir, QDate today, const QString& offReason,
                                   QWidget* parent)
    : QWidget(parent),
      recordsDir_(recordsDir),
      today_(today),
      sheetFile_(recordsDir.toStdString(), records::systemFileOperations(),
                 offReason.toStdString()),
      shownName_(records::classSheetFileName),
      rows_(new SheetRowsModel(this)),
      filter_(new SheetFilter(*rows_, this)),
      pupils_(new PupilsModel(this)),
      pupilsSorted_(new QSortFilterProxyModel(this)) {
    setWindowTitle(QString::fromUtf8(classSheetTitle));
    pupilsSorted_->setSourceModel(pupils_);
    pupilsSorted_->setSortRole(PupilsModel::sortRole);
    build();
    load();
}

ClassSheetWindow::~ClassSheetWindow() = default;

QString ClassSheetWindow::sheetPath() const {
    return fromUtf8(sheetFile_.path(shownName_));
}

QAbstractButton* ClassSheetWindow::newYearButton() const {
    return newYear_;
}

QAbstractButton* ClassSheetWindow::openButton() const {
    return open_;
}

QSize ClassSheetWindow::openingSize(QSize screen) {
    return QSize(std::max(drawnFor.width(), screen.width() * 3 / 5),
                 std::max(drawnFor.height(), screen.height() * 7 / 10));
}

void ClassSheetWindow::build() {
    title_ = new QLabel(QString::fromUtf8(classSheetTitle), this);
    nameFilter_ = new QLineEdit(this);
    nameFilter_->setPlaceholderText(QStringLiteral("parte del nome"));
    nameFilter_->setClearButtonEnabled(true);
    nameFilter_->setAccessibleName(QStringLiteral("Cerca un nome"));
    period_ = new QComboBox(this);
    for (const char* name : periodNames) {
        period_->addItem(QString::fromUtf8(name));
    }
    period_->setCurrentIndex(static_cast<int>(Period::all));
    period_->setAccessibleName(QStringLiteral("Periodo"));
    year_ = new QComboBox(this);
    year_->setAccessibleName(QStringLiteral("Anno scolastico"));
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    rowsView_ = makeTable(this, QStringLiteral("Partite"));
    rowsView_->setModel(filter_);
    rowsView_->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    rowsView_->setSortingEnabled(true);
    pupilsView_ = makeTable(this, QStringLiteral("Alunni"));
    pupilsView_->setModel(pupilsSorted_);
    pupilsView_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    pupilsView_->setSortingEnabled(true);
    addSortActions(rowsView_);
    addSortActions(pupilsView_);
    chart_ = new RightAnswersChart(this);

    auto* open = open_ = new QPushButton(QStringLiteral("Apri nel &foglio di calcolo"), this);
    auto* pdf = new QPushButton(QStringLiteral("&Salva PDF…"), this);
    newYear_ = new QPushButton(QStringLiteral("&Nuovo anno scolastico…"), this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(buddyLabel(QStringLiteral("&Cerca un nome:"), nameFilter_, this));
    filters->addWidget(nameFilter_, 2);
    filters->addSpacing(12);
    filters->addWidget(buddyLabel(QStringLiteral("&Periodo:"), period_, this));
    filters->addWidget(period_, 1);
    filters->addSpacing(12);
    filters->addWidget(buddyLabel(QStringLiteral("Anno scolastic&o:"), year_, this));
    filters->addWidget(year_, 1);
    auto* lower = new QHBoxLayout;
    auto* pupilsColumn = new QVBoxLayout;
    pupilsColumn->addWidget(buddyLabel(QStringLiteral("&Alunni"), pupilsView_, this));
    pupilsColumn->addWidget(pupilsView_);
    lower->addLayout(pupilsColumn, 3);
    lower->addWidget(chart_, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(pdf);
    buttons->addStretch();
    buttons->addWidget(newYear_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(filters);
    layout->addWidget(status_);
    layout->addWidget(buddyLabel(QStringLiteral("Pa&rtite"), rowsView_, this));
    layout->addWidget(rowsView_, 3);
    layout->addLayout(lower, 2);
    layout->addLayout(buttons);

    setTabOrder(nameFilter_, period_);
    setTabOrder(period_, year_);
    setTabOrder(year_, rowsView_);
    setTabOrder(rowsView_, pupilsView_);
    setTabOrder(pupilsView_, open);
    setTabOrder(open, pdf);
    setTabOrder(pdf, newYear_);
    nameFilter_->setFocus();

    connect(nameFilter_, &QLineEdit::textChanged, this, &ClassSheetWindow::filterChanged);
    connect(period_, &QComboBox::currentIndexChanged, this, &ClassSheetWindow::filterChanged);
    connect(year_, &QComboBox::activated, this, [this](int index) {
        shownName_ = year_->itemData(index).toString().toStdString();
        load();
    });
    connect(pupilsView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ClassSheetWindow::pupilChosen);
    connect(open, &QPushButton::clicked, this, &ClassSheetWindow::openInSpreadsheet);
    connect(pdf, &QPushButton::clicked, this, &ClassSheetWindow::askPdf);
    connect(newYear_, &QPushButton::clicked, this, &ClassSheetWindow::newSchoolYear);
    connect(new QShortcut(QKeySequence::Refresh, this), &QShortcut::activated, this,
            &ClassSheetWindow::load);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    baseFont_ = std::max(12.0, font().pointSizeF() * 1.2);
    initialSize_ = drawnFor;
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(screen ? openingSize(screen->availableSize()) : drawnFor);
    applyScale();
}

// This year's sheet, then the past years' beside it, the latest first.
void ClassSheetWindow::listYears() {
    year_->clear();
    year_->addItem(QStringLiteral("In corso"), fromUtf8(std::string(records::classSheetFileName)));
    for (const records::PastSheet& past : sheetFile_.pastSheets()) {
        year_->addItem(QStringLiteral("%1 (archiviato)").arg(fromUtf8(past.years)),
                       fromUtf8(past.name));
    }
    const int shown = year_->findData(fromUtf8(shownName_));
    if (shown < 0) {
        shownName_ = records::classSheetFileName;
    }
    year_->setCurrentIndex(std::max(0, shown));
}

void ClassSheetWindow::load() {
    listYears();
    records::SheetLoad loaded = sheetFile_.load(shownName_);
    skipped_ = loaded.reading.skipped;
    loadMessage_ = fromUtf8(loaded.message);
    rows_->setRows(std::move(loaded.reading.rows));
    // A past year's sheet is only read.
    newYear_->setEnabled(shownName_ == records::classSheetFileName &&
                         (rows_->rowCount() > 0 || skipped_ > 0));
    filterChanged();
}

void ClassSheetWindow::filterChanged() {
    filter_->choose(nameFilter_->text(), static_cast<Period>(period_->currentIndex()), today_);
    const QString chosen = pupilsView_->currentIndex().siblingAtColumn(0).data().toString();
    pupils_->setPupils(pupilsOf(*rows_, *filter_));
    QStringList lines;
    if (!sheetFile_.offReason().empty()) {
        lines << fromUtf8(sheetFile_.offReason()) +
                     QStringLiteral(" Le partite che finiscono non vi sono aggiunte.");
    }
    if (!loadMessage_.isEmpty()) {
        lines << loadMessage_;
    } else {
        const auto count = [](qsizetype n, const char* one, const char* many) {
            return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
        };
        lines << QStringLiteral("%1 di %2 su %3 nel registro.")
                     .arg(count(filter_->rowCount(), "partita", "partite"),
                          count(qsizetype(pupils_->pupils().size()), "alunno", "alunni"),
                          QString::number(rows_->rowCount()));
    }
    if (skipped_ > 0) {
        lines << skippedLine(skipped_);
    }
    status_->setText(lines.join(QLatin1Char('\n')));
    // The pupil chosen before stays chosen while the filter lets them through.
    int row = 0;
    for (int i = 0; i < pupilsSorted_->rowCount(); ++i) {
        if (pupilsSorted_->index(i, 0).data().toString() == chosen) {
            row = i;
        }
    }
    if (pupilsSorted_->rowCount() > 0) {
        pupilsView_->setCurrentIndex(pupilsSorted_->index(row, 0));
    }
    pupilChosen();
}

const Pupil* ClassSheetWindow::chosenPupil() const {
    const QModelIndex current = pupilsSorted_->mapToSource(pupilsView_->currentIndex());
    return current.isValid() ? &pupils_->pupils()[static_cast<std::size_t>(current.row())]
                             : nullptr;
}

void ClassSheetWindow::pupilChosen() {
    if (const Pupil* pupil = chosenPupil()) {
        chart_->setPupil(pupil->name, pupil->right, pupil->dates);
    } else {
        chart_->setPupil({}, {}, {});
    }
}

// Everything grows with the window as the game's board does: one factor
// from the window's size against the size it opened at.
void ClassSheetWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyScale();
}

void ClassSheetWindow::applyScale() {
    const double factor = std::max(1.0, std::min(width() / double(initialSize_.width()),
                                                 height() / double(initialSize_.height())));
    if (std::abs(factor - factor_) < 0.02) {
        return;
    }
    factor_ = factor;
    QFont body = font();
    body.setPointSizeF(baseFont_ * factor);
    setFont(body);
    QFont big = body;
    big.setPointSizeF(baseFont_ * factor * 1.6);
    big.setBold(true);
    title_->setFont(big);
    const QFontMetrics metrics(body);
    for (QTableView* view : {rowsView_, pupilsView_}) {
        view->horizontalHeader()->setFont(body);
        view->verticalHeader()->setDefaultSectionSize(metrics.height() * 3 / 2);
    }
    // Wide enough for the header (and its sort mark) or a usual value.
    const auto fit = [&](QTableView* view, int column, const char* widest) {
        const QString header = view->model()->headerData(column, Qt::Horizontal).toString();
        view->setColumnWidth(column,
                             std::max(metrics.horizontalAdvance(header),
                                      metrics.horizontalAdvance(QString::fromUtf8(widest))) +
                                 metrics.height() * 3 / 2);
    };
    const char* const rowsWidest[] = {"08/12/2026", "10:42", "Mariangela Rossi", "", "", "", "",
                                      "",           ""};
    for (int column = 0; column < rowsView_->model()->columnCount(); ++column) {
        fit(rowsView_, column, rowsWidest[column]);
    }
    for (int column = 0; column < pupilsView_->model()->columnCount(); ++column) {
        fit(pupilsView_, column, column == 0 ? "Mariangela Rossi" : "");
    }
}

SheetPrint ClassSheetWindow::currentView() const {
    SheetPrint print;
    // The title says what the pages hold: the year, the period, the names.
    print.title = QStringLiteral("%1, anno %2, periodo: %3")
                      .arg(QString::fromUtf8(classSheetTitle), year_->currentText().toLower(),
                           period_->currentText());
    if (!nameFilter_->text().trimmed().isEmpty()) {
        print.title += QStringLiteral(", nomi con «%1»").arg(nameFilter_->text().trimmed());
    }
    print.lines << QStringLiteral("Stampato il %1 da %2")
                       .arg(today_.toString(QStringLiteral("dd/MM/yyyy")),
                            QDir::toNativeSeparators(sheetPath()))
                << QStringLiteral("Periodo: %1").arg(period_->currentText());
    if (!nameFilter_->text().trimmed().isEmpty()) {
        print.lines
            << QStringLiteral("Nomi che contengono: «%1»").arg(nameFilter_->text().trimmed());
    }
    print.lines << status_->text().split(QLatin1Char('\n'));
    for (int c = 0; c < pupilsSorted_->columnCount(); ++c) {
        print.summaryHeader << pupilsSorted_->headerData(c, Qt::Horizontal).toString();
    }
    for (int r = 0; r < pupilsSorted_->rowCount(); ++r) {
        print.summary.push_back(
            pupils_->texts(pupilsSorted_->mapToSource(pupilsSorted_->index(r, 0)).row()));
    }
    for (int c = 0; c < filter_->columnCount(); ++c) {
        print.rowsHeader << filter_->headerData(c, Qt::Horizontal).toString();
    }
    if (const Pupil* pupil = chosenPupil()) {
        print.chartName = pupil->name;
        print.chartRight = pupil->right;
        print.chartDates = pupil->dates;
    }
    print.rows.reserve(static_cast<std::size_t>(filter_->rowCount()));
    for (int r = 0; r < filter_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < filter_->columnCount(); ++c) {
            cells << filter_->index(r, c).data().toString();
        }
        print.rows.push_back(std::move(cells));
    }
    return print;
}

bool ClassSheetWindow::savePdf(const QString& file) const {
    return writeSheetPdf(file, currentView()) > 0;
}

void ClassSheetWindow::tell(const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setFont(font());
    box->open();
}

void ClassSheetWindow::openInSpreadsheet() {
    const QString file = sheetPath();
    if (!QFileInfo::exists(file)) {
        tell(QStringLiteral("Il registro non c'è ancora: nessuna partita è stata registrata."));
        return;
    }
    const QString none = QStringLiteral(
                             "Nessun programma di questo computer apre i file CSV, come il "
                             "registro %1.\n\nApri il registro dal foglio di calcolo "
                             "(LibreOffice Calc, Excel) con File, Apri, oppure chiedi al tecnico "
                             "della scuola di installarne uno.")
                             .arg(shownPath(file));
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt hands the file to xdg-open and calls that a success, whether or
    // not a program took it: its answer is awaited here instead.
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [this, opener, none](int code, QProcess::ExitStatus status) {
                opener->deleteLater();
                if (status != QProcess::NormalExit || code != 0) {
                    tell(none);
                }
            });
    connect(opener, &QProcess::errorOccurred, this, [this, opener, none](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            opener->deleteLater();
            tell(none);
        }
    });
    opener->start(QStringLiteral("xdg-open"), {file});
#else
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        tell(none);
    }
#endif
}

void ClassSheetWindow::askPdf() {
    // Documents, where the teacher's papers are; the home where there is none.
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) {
        folder = QDir::home();
    }
    const QString suggested = folder.filePath(
        QStringLiteral("Registro di Quimbra %1.pdf").arg(today_.toString(Qt::ISODate)));
    // Qt's own dialog, drawn at the window's scale: on a whiteboard the
    // system's would be as small as on a desk.
    QFileDialog ask(this, QStringLiteral("Salva PDF"), suggested, QStringLiteral("PDF (*.pdf)"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setOption(QFileDialog::DontUseNativeDialog, factor_ > 1.05);
    ask.setFont(font());
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty()) {
        return;
    }
    QString file = ask.selectedFiles().constFirst();
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    // A whole year of a lab is some thousand pages: a moment's work.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = savePdf(file);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        tell(QStringLiteral("Impossibile scrivere il file %1.").arg(shownPath(file)));
    }
}

void ClassSheetWindow::newSchoolYear() {
    QMessageBox ask(QMessageBox::Question, windowTitle(),
                    QStringLiteral("Chiudere l'anno scolastico?\n\nIl registro sarà conservato "
                                   "nella stessa cartella con il nome dell'anno scolastico delle "
                                   "sue partite, e le prossime partite cominceranno un registro "
                                   "nuovo. Nessuna riga viene cancellata."),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setDefaultButton(QMessageBox::No);
    ask.setFont(font());
    if (ask.exec() != QMessageBox::Yes) {
        return;
    }
    const records::Archived archived =
        sheetFile_.startNewYear(periodStart(Period::schoolYear, today_).year());
    if (!archived.status.ok()) {
        tell(QStringLiteral("Il registro non è stato rinominato ed è rimasto com'era.\n\n%1")
                 .arg(fromUtf8(archived.status.error)));
        return;
    }
    load();
    tell(QStringLiteral("Il registro dell'anno che si chiude è ora %1, nella cartella %2: lo "
                        "trovi in «Anno scolastico».")
             .arg(fromUtf8(archived.name), shownPath(recordsDir_)));
}

}  // namespace quimbra::teacher
