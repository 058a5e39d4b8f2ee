#include "window/class_sheet_window.h"

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
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "records/class_sheet.h"
#include "records/class_sheet_archive.h"
#include "records/file_operations.h"
#include "window/application.h"
#include "window/class_sheet_chart.h"
#include "window/class_sheet_model.h"
#include "window/class_sheet_pdf.h"

namespace quimbra::window {
namespace {

// A sheet larger than this is not a class's: it is not read at all, rather
// than filling the memory.
constexpr qint64 largestSheet = 512LL * 1024 * 1024;

const char* const periodNames[] = {"Oggi", "Questa settimana", "Quest'anno scolastico", "Tutto"};

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Where the technician turned it off, so that a teacher knows whom to ask.
#ifdef _WIN32
constexpr const char* offLine =
    "Il registro è spento su questo computer: il tecnico della scuola lo ha disattivato "
    "(criterio ClassSheet), e le partite che finiscono non vi sono aggiunte.";
#else
constexpr const char* offLine =
    "Il registro è spento su questo computer: il tecnico della scuola lo ha disattivato "
    "(class-sheet = no in /etc/quimbra/quimbra.conf), e le partite che finiscono non vi sono "
    "aggiunte.";
#endif

QString skippedLine(std::size_t skipped) {
    return skipped == 1
               ? QStringLiteral("1 riga del registro è danneggiata e non è mostrata.")
               : QStringLiteral("%1 righe del registro sono danneggiate e non sono mostrate.")
                     .arg(skipped);
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

ClassSheetWindow::ClassSheetWindow(const QString& recordsDir, QDate today, bool recordingOff,
                                   QWidget* parent)
    : QWidget(parent),
      recordsDir_(recordsDir),
      today_(today),
      recordingOff_(recordingOff),
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
    return recordsDir_ + QString::fromUtf8(records::classSheetFileName.data(),
                                           qsizetype(records::classSheetFileName.size()));
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
    chart_ = new RightAnswersChart(this);

    auto* open = new QPushButton(QStringLiteral("Apri nel &foglio di calcolo"), this);
    auto* pdf = new QPushButton(QStringLiteral("&Salva PDF…"), this);
    newYear_ = new QPushButton(QStringLiteral("&Nuovo anno scolastico…"), this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(buddyLabel(QStringLiteral("&Cerca un nome:"), nameFilter_, this));
    filters->addWidget(nameFilter_, 2);
    filters->addSpacing(12);
    filters->addWidget(buddyLabel(QStringLiteral("&Periodo:"), period_, this));
    filters->addWidget(period_, 1);
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
    setTabOrder(period_, rowsView_);
    setTabOrder(rowsView_, pupilsView_);
    setTabOrder(pupilsView_, open);
    setTabOrder(open, pdf);
    setTabOrder(pdf, newYear_);
    nameFilter_->setFocus();

    connect(nameFilter_, &QLineEdit::textChanged, this, &ClassSheetWindow::filterChanged);
    connect(period_, &QComboBox::currentIndexChanged, this, &ClassSheetWindow::filterChanged);
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
    initialSize_ = QSize(1000, 700);
    resize(initialSize_);
    applyScale();
}

void ClassSheetWindow::load() {
    const QString path = sheetPath();
    std::vector<records::SheetRow> rows;
    skipped_ = 0;
    loadMessage_.clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        loadMessage_ =
            QStringLiteral("Nessuna partita è stata ancora registrata in %1.").arg(shownPath(path));
    } else if (info.isFile() && info.size() > largestSheet) {
        loadMessage_ = QStringLiteral(
                           "Il registro %1 è troppo grande per essere un registro di "
                           "classe e non è stato letto.")
                           .arg(shownPath(path));
    } else {
        const records::ReadBytes bytes = records::systemFileOperations().readStart(
            path.toStdString(), static_cast<std::size_t>(info.size()) + 1);
        if (!bytes.ok()) {
            loadMessage_ = fromUtf8(bytes.error);
        } else {
            records::SheetReading reading = records::readClassSheet(bytes.bytes);
            rows = std::move(reading.rows);
            skipped_ = reading.skipped;
            if (rows.empty() && skipped_ == 0) {
                loadMessage_ = QStringLiteral("Nessuna partita è stata ancora registrata.");
            }
        }
    }
    rows_->setRows(std::move(rows));
    newYear_->setEnabled(rows_->rowCount() > 0 || skipped_ > 0);
    filterChanged();
}

void ClassSheetWindow::filterChanged() {
    filter_->choose(nameFilter_->text(), static_cast<Period>(period_->currentIndex()), today_);
    const QString chosen = pupilsView_->currentIndex().siblingAtColumn(0).data().toString();
    pupils_->setPupils(pupilsOf(*rows_, *filter_));
    QStringList lines;
    if (recordingOff_) {
        lines << QString::fromUtf8(offLine);
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

void ClassSheetWindow::pupilChosen() {
    const QModelIndex current = pupilsSorted_->mapToSource(pupilsView_->currentIndex());
    if (!current.isValid()) {
        chart_->setPupil({}, {});
        return;
    }
    const Pupil& pupil = pupils_->pupils()[static_cast<std::size_t>(current.row())];
    chart_->setPupil(pupil.name, pupil.right);
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
    print.title = QString::fromUtf8(classSheetTitle);
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
    return writeSheetPdf(file, currentView());
}

void ClassSheetWindow::openInSpreadsheet() {
    if (!QFileInfo::exists(sheetPath())) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Il registro non c'è ancora: nessuna partita è "
                                                "stata registrata."));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(sheetPath()))) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Nessun programma di questo computer ha aperto il file "
                                            "%1. Aprilo dal foglio di calcolo.")
                                 .arg(shownPath(sheetPath())));
    }
}

void ClassSheetWindow::askPdf() {
    // Documents, where the teacher's papers are; the home where there is none.
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) {
        folder = QDir::home();
    }
    const QString suggested = folder.filePath(
        QStringLiteral("Registro di Quimbra %1.pdf").arg(today_.toString(Qt::ISODate)));
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Salva PDF"), suggested,
                                                QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty()) {
        return;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
    }
    // A whole year of a lab is some thousand pages: a moment's work.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = savePdf(file);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("Impossibile scrivere il file %1.").arg(shownPath(file)));
    }
}

void ClassSheetWindow::newSchoolYear() {
    const QString name =
        fromUtf8(records::archivedSheetName(today_.year(), [&](const std::string& n) {
            return QFileInfo::exists(recordsDir_ + fromUtf8(n));
        }));
    const auto answer = QMessageBox::question(
        this, windowTitle(),
        QStringLiteral("Chiudere l'anno scolastico?\n\nIl registro sarà conservato come %1 nella "
                       "stessa cartella, e le prossime partite cominceranno un registro nuovo. "
                       "Nessuna riga viene cancellata.")
            .arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    const records::Archived archived = records::archiveClassSheet(
        recordsDir_.toStdString(), today_.year(), records::systemFileOperations());
    if (!archived.status.ok()) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("Il registro non è stato rinominato ed è rimasto com'era.\n\n%1")
                .arg(fromUtf8(archived.status.error)));
        return;
    }
    load();
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("Il registro dell'anno che si chiude è ora %1, nella "
                                            "cartella %2.")
                                 .arg(fromUtf8(archived.name), shownPath(recordsDir_)));
}

}  // namespace quimbra::window
