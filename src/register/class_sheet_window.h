#pragma once
// The teacher's window (quimbra --registro): every game the class sheet
// holds, filtered by name and period and sorted by any column, a summary per
// pupil, one pupil's right answers as a chart, and the sheet opened in a
// spreadsheet, saved as PDF or closed at the end of a school year.

#include <QDate>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>

#include "records/class_sheet_file.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace quimbra::teacher {

class PupilsModel;
struct Pupil;
class RightAnswersChart;
class SheetFilter;
class SheetRowsModel;
struct SheetPrint;

inline constexpr const char* classSheetTitle = "Registro di Quimbra";

class ClassSheetWindow final : public QWidget {
  public:
    // recordsDir ends with its separator; today is the day the periods count
    // from; offReason says why the technician turned the sheet off
    // (classSheetOffReason), which the window then shows; empty when it is on.
    ClassSheetWindow(const QString& recordsDir, QDate today, const QString& offReason = {},
                     QWidget* parent = nullptr);
    ~ClassSheetWindow() override;

    // Reads the sheet shown again: this year's, or the past year chosen.
    void load();
    QString sheetPath() const;
    // What the PDF holds: the current view.
    SheetPrint currentView() const;
    bool savePdf(const QString& file) const;

    QTableView* rowsView() const { return rowsView_; }
    QTableView* pupilsView() const { return pupilsView_; }
    QLineEdit* nameFilter() const { return nameFilter_; }
    QComboBox* period() const { return period_; }
    // This school year's sheet first, then the past years' (read-only).
    QComboBox* year() const { return year_; }
    QLabel* status() const { return status_; }
    QAbstractButton* newYearButton() const;
    QAbstractButton* openButton() const;

    // The size it opens at on a screen of this size: a share of it, never
    // less than the size everything is drawn for at 1.
    static QSize openingSize(QSize screen);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void build();
    void filterChanged();
    // The pupil whose line has the table's focus, if any.
    const Pupil* chosenPupil() const;
    void pupilChosen();
    void applyScale();
    void openInSpreadsheet();
    void askPdf();
    void newSchoolYear();
    void listYears();
    // A message beside the window, at its scale; it does not wait.
    void tell(const QString& text);

    QString recordsDir_;
    QDate today_;
    records::ClassSheetFile sheetFile_;
    std::string shownName_;
    QString loadMessage_;
    std::size_t skipped_ = 0;
    SheetRowsModel* rows_;
    SheetFilter* filter_;
    PupilsModel* pupils_;
    QSortFilterProxyModel* pupilsSorted_;
    QLabel* title_ = nullptr;
    QLabel* status_ = nullptr;
    QLineEdit* nameFilter_ = nullptr;
    QComboBox* period_ = nullptr;
    QComboBox* year_ = nullptr;
    QPushButton* open_ = nullptr;
    QTableView* rowsView_ = nullptr;
    QTableView* pupilsView_ = nullptr;
    RightAnswersChart* chart_ = nullptr;
    QPushButton* newYear_ = nullptr;
    QSize initialSize_;
    double baseFont_ = 12;
    double factor_ = 0;
};

}  // namespace quimbra::teacher
