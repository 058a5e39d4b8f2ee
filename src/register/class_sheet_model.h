#pragma once
// The class sheet's rows as Qt's views see them: the rows newest first, a
// filter by name and period that sorts by any column, and the summary per
// pupil of the rows the filter lets through.

#include <QAbstractTableModel>
#include <QDate>
#include <QSortFilterProxyModel>
#include <QString>

#include <string>
#include <vector>

#include "records/class_sheet.h"

namespace quimbra::teacher {

class SheetRowsModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // The rows in file order; shown newest (last) first.
    void setRows(std::vector<records::SheetRow> rows);
    const records::SheetRow& sheetRow(int row) const { return rows_[at(row)]; }
    // The name folded for what ignores case: one pupil, the order by name.
    const QString& foldedName(int row) const { return folded_[at(row)]; }
    // The name as the filter matches it, without case or accents.
    const QString& searchedName(int row) const { return searched_[at(row)]; }
    // Larger is later in the day's calendar: yyyymmddhhmm.
    long long playedAt(int row) const { return playedAt_[at(row)]; }
    // Larger is later in the file.
    int fileOrder(int row) const { return static_cast<int>(at(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::size_t at(int row) const { return rows_.size() - 1 - static_cast<std::size_t>(row); }
    std::vector<records::SheetRow> rows_;
    std::vector<QString> folded_;
    std::vector<QString> searched_;
    std::vector<long long> playedAt_;
};

enum class Period { today, thisWeek, schoolYear, all };

// The first day a period shows on `today`: the day itself, the week's
// Monday, September 1st of the school year running; null for all.
QDate periodStart(Period period, QDate today);

class SheetFilter final : public QSortFilterProxyModel {
  public:
    explicit SheetFilter(SheetRowsModel& rows, QObject* parent = nullptr);

    // The rows whose name contains `name` (case and accents aside: "zoe"
    // finds "Zoè"), played in `period`.
    void choose(const QString& name, Period period, QDate today);
    bool accepts(int sourceRow) const;

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    SheetRowsModel& rows_;
    QString name_;
    std::string from_;  // ISO; empty: no bound
    std::string to_;
};

// One pupil's games within the filter, oldest first.
struct Pupil {
    QString name;
    std::vector<int> right;
    QStringList dates;  // of each game, "08/12"
    int best() const;
    double average() const;
};

// The pupils of the rows the filter lets through, by name.
std::vector<Pupil> pupilsOf(const SheetRowsModel& rows, const SheetFilter& filter);

class PupilsModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    static constexpr int sortRole = Qt::UserRole;

    void setPupils(std::vector<Pupil> pupils);
    const std::vector<Pupil>& pupils() const { return pupils_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The texts of a row as shown, for the printed copy.
    QStringList texts(int row) const;

  private:
    std::vector<Pupil> pupils_;
};

// Text as a search matches it: without accents (decomposed, the marks
// dropped) and without case.
QString searchKey(const QString& text);
// "08/12/2026" from "2026-12-08".
QString italianDate(const std::string& iso);
// "6,5"
QString oneDecimal(double value);

}  // namespace quimbra::teacher
