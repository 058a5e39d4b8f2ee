#include "register/class_sheet_model.h"

#include <QCollator>

#include <algorithm>
#include <map>
#include <numeric>

namespace quimbra::teacher {
namespace {

constexpr int columnCount = static_cast<int>(std::size(records::classSheetColumns));
enum Column {
    dateColumn,
    timeColumn,
    nameColumn,
    rightColumn,
    wrongColumn,
    totalColumn,
    playedColumn,
    recordColumn,
    computerColumn
};

QString text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// "9:05" before "10:42", for the time played.
bool clockLess(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The date and time as one number, so that sorting 100,000 rows by them
// compares numbers. The reader checked their form: digits where they belong.
long long playedAtOf(const records::SheetRow& row) {
    const auto number = [](std::string_view digits) {
        long long value = 0;
        for (const char c : digits) {
            if (c >= '0' && c <= '9') {
                value = value * 10 + (c - '0');
            }
        }
        return value;
    };
    const std::size_t colon = row.time.find(':');
    return number(row.date) * 10000 + number(std::string_view(row.time).substr(0, colon)) * 100 +
           number(std::string_view(row.time).substr(colon + 1));
}

}  // namespace

QString searchKey(const QString& text) {
    QString key = text.normalized(QString::NormalizationForm_D);
    key.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return key.toCaseFolded();
}

QString italianDate(const std::string& iso) {
    return text(iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4));
}

QString oneDecimal(double value) {
    return QString::number(value, 'f', 1).replace('.', ',');
}

void SheetRowsModel::setRows(std::vector<records::SheetRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    folded_.clear();
    folded_.reserve(rows_.size());
    searched_.clear();
    searched_.reserve(rows_.size());
    playedAt_.clear();
    playedAt_.reserve(rows_.size());
    for (const records::SheetRow& row : rows_) {
        folded_.push_back(text(row.name).toCaseFolded());
        searched_.push_back(searchKey(folded_.back()));
        playedAt_.push_back(playedAtOf(row));
    }
    endResetModel();
}

int SheetRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SheetRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : teacher::columnCount;
}

QVariant SheetRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() >= rightColumn && index.column() <= playedColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const records::SheetRow& row = sheetRow(index.row());
    switch (index.column()) {
        case dateColumn:
            return italianDate(row.date);
        case timeColumn:
            return text(row.time);
        case nameColumn:
            return text(row.name);
        case rightColumn:
            return row.right;
        case wrongColumn:
            return row.wrong;
        case totalColumn:
            return row.total;
        case playedColumn:
            return text(row.played);
        case recordColumn:
            return row.beatRecord ? QStringLiteral("sì") : QString();
        default:
            return text(row.computer);
    }
}

QVariant SheetRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < teacher::columnCount) {
        const std::string_view title = records::classSheetColumns[section];
        return QString::fromUtf8(title.data(), qsizetype(title.size()));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QDate periodStart(Period period, QDate today) {
    switch (period) {
        case Period::today:
            return today;
        case Period::thisWeek:
            return today.addDays(1 - today.dayOfWeek());
        case Period::schoolYear:
            return QDate(records::schoolYearStart(today.year(), today.month()), 9, 1);
        default:
            return {};
    }
}

SheetFilter::SheetFilter(SheetRowsModel& rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {
    setSourceModel(&rows);
}

void SheetFilter::choose(const QString& name, Period period, QDate today) {
    const QString folded = searchKey(name.trimmed());
    const QDate start = periodStart(period, today);
    const std::string from =
        start.isNull() ? std::string() : start.toString(Qt::ISODate).toStdString();
    const std::string to = period == Period::today ? from : std::string();
    // Filtering 100,000 rows again is what a reload would otherwise pay twice.
    if (folded == name_ && from == from_ && to == to_) {
        return;
    }
    name_ = folded;
    from_ = from;
    to_ = to;
    invalidateRowsFilter();
}

bool SheetFilter::accepts(int sourceRow) const {
    const records::SheetRow& row = rows_.sheetRow(sourceRow);
    return (from_.empty() || row.date >= from_) && (to_.empty() || row.date <= to_) &&
           (name_.isEmpty() || rows_.searchedName(sourceRow).contains(name_));
}

bool SheetFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return accepts(sourceRow);
}

// Straight on the rows, not through data(): a click on a column of 100,000
// rows sorts at once. Equal rows keep the order they were played in.
bool SheetFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const records::SheetRow& a = rows_.sheetRow(left.row());
    const records::SheetRow& b = rows_.sheetRow(right.row());
    const auto byOrder = [&] { return rows_.fileOrder(left.row()) < rows_.fileOrder(right.row()); };
    const auto by = [&](const auto& x, const auto& y) { return x != y ? x < y : byOrder(); };
    switch (left.column()) {
        case dateColumn:
        case timeColumn:
            return by(rows_.playedAt(left.row()), rows_.playedAt(right.row()));
        case nameColumn:
            return by(rows_.foldedName(left.row()), rows_.foldedName(right.row()));
        case rightColumn:
            return by(a.right, b.right);
        case wrongColumn:
            return by(a.wrong, b.wrong);
        case totalColumn:
            return by(a.total, b.total);
        case playedColumn:
            return a.played != b.played ? clockLess(a.played, b.played) : byOrder();
        case recordColumn:
            return by(a.beatRecord, b.beatRecord);
        default:
            return by(a.computer, b.computer);
    }
}

int Pupil::best() const {
    return right.empty() ? 0 : *std::max_element(right.begin(), right.end());
}

double Pupil::average() const {
    return right.empty() ? 0.0
                         : std::accumulate(right.begin(), right.end(), 0.0) / double(right.size());
}

std::vector<Pupil> pupilsOf(const SheetRowsModel& rows, const SheetFilter& filter) {
    // One pupil, however the case of the name was typed; shown as last typed.
    std::map<QString, Pupil> byName;
    // Source rows run newest first: walked backwards, each pupil's games
    // come oldest first.
    for (int i = rows.rowCount() - 1; i >= 0; --i) {
        if (filter.accepts(i)) {
            Pupil& pupil = byName[rows.foldedName(i)];
            pupil.name = text(rows.sheetRow(i).name);
            pupil.right.push_back(rows.sheetRow(i).right);
            pupil.dates << italianDate(rows.sheetRow(i).date).left(5);
        }
    }
    std::vector<Pupil> pupils;
    pupils.reserve(byName.size());
    for (auto& entry : byName) {
        pupils.push_back(std::move(entry.second));
    }
    QCollator collator(QLocale(QLocale::Italian));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(pupils.begin(), pupils.end(), [&](const Pupil& a, const Pupil& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return pupils;
}

namespace {
const char* const pupilTitles[] = {"Nome", "Partite", "Migliore", "Ultima", "Media esatte"};
}

void PupilsModel::setPupils(std::vector<Pupil> pupils) {
    beginResetModel();
    pupils_ = std::move(pupils);
    endResetModel();
}

int PupilsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(pupils_.size());
}

int PupilsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(pupilTitles));
}

QVariant PupilsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const Pupil& pupil = pupils_[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (index.column() > 0 ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == sortRole) {
        switch (index.column()) {
            case 0:
                return pupil.name.toCaseFolded();
            case 1:
                return static_cast<int>(pupil.right.size());
            case 2:
                return pupil.best();
            case 3:
                return pupil.right.back();
            default:
                return pupil.average();
        }
    }
    if (role == Qt::DisplayRole) {
        return texts(index.row()).at(index.column());
    }
    return {};
}

QStringList PupilsModel::texts(int row) const {
    const Pupil& pupil = pupils_[static_cast<std::size_t>(row)];
    return {pupil.name, QString::number(pupil.right.size()), QString::number(pupil.best()),
            QString::number(pupil.right.back()), oneDecimal(pupil.average())};
}

QVariant PupilsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount()) {
        return QString::fromUtf8(pupilTitles[section]);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace quimbra::teacher
