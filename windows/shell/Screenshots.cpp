#include "windows/shell/Screenshots.h"

#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "model/LSession.h"
#include "model/ParameterTable.h"
#include "windows/shell/TCopyProgressForm.h"
#include "windows/shell/TErrorBox.h"
#include "windows/shell/TStandardDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QProgressBar>
#include <QTabWidget>
#include <QWidget>

#include <cmath>
#include <numbers>

LSession SampleSession() {
    LSession session;
    session.UserID = "J. Marsh";
    session.Location = "Substation 4, feeder B";
    session.Comments = "Load survey after the transformer change.";
    TDateTime day = 0;
    TDateTime time = 0;
    TryEncodeDate(2024, 3, 11, day);
    TryEncodeTime(9, 30, 0, 0, time);
    session.StartTime = day + time;
    session.EndTime = day + 7;
    session.PhaseConfig = 0;
    session.Mode = 0;
    session.Rate = 3;
    session.Interval = 1;
    session.CTType = 0;
    return session;
}

bool SaveWindowImage(QWidget& window, const QString& fileName) {
    window.show();
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    window.hide();
    return picture.save(fileName, "PNG");
}

ScreenshotFolder::ScreenshotFolder(const QString& directory) : directory_(directory) {
    QDir().mkpath(directory);
}

void ScreenshotFolder::Save(QWidget& window, const char* name) {
    const QString file = QDir(directory_).filePath(QString::fromLatin1(name));
    if (SaveWindowImage(window, file))
        written_.append(file);
}

void ScreenshotFolder::SavePages(QWidget& window, QTabWidget& pages,
                                 const std::vector<const char*>& names) {
    for (size_t page = 0; page < names.size(); ++page) {
        pages.setCurrentIndex(static_cast<int>(page));
        Save(window, names[page]);
    }
}

QStringList WriteShellScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    TStandardDialog standard;
    standard.setWindowTitle(QStringLiteral("Standard dialog"));
    folder.Save(standard, "standard-dialog.png");

    // A box of its own, so that the program's error report stays where it is.
    TErrorBox error;
    error.SetTexts(QStringLiteral("LDatabase::Load"),
                   QStringLiteral("Wrong file format\nsecond line"));
    folder.Save(error, "program-error.png");

    TCopyProgressForm progress;
    progress.ProgressBar()->setValue(40);
    folder.Save(progress, "copy-progress.png");
    return folder.Written();
}

LParameter* AddSampleParameter(LDatabase& db, int catalogueIndex, const std::vector<float>& values,
                               const std::vector<TDateTime>& times) {
    auto parameter = std::make_unique<LParameter>();
    parameter->SetData(db.Header().RateSeconds(), catalogueIndex,
                       times.empty() ? nullptr : times.data(), values.data(),
                       static_cast<int32_t>(values.size()), 0, 0);
    parameter->SetStartTime(db.Header().StartTime);
    parameter->SetId(db.Parameters().NewId());
    return db.Parameters().Add(std::move(parameter));
}

void NewSampleDatabase(LDatabase& db, const std::string& location, const std::string& fileName) {
    db.New();
    LSession& session = db.Header();
    session.StartTime = SampleSession().StartTime;
    session.Rate = 5;
    session.PhaseConfig = 3;
    if (!location.empty())
        session.Location = location;
    if (!fileName.empty())
        db.SetFileName(fileName);
}

int SampleHistoricEntry(uint8_t quantity, uint8_t unit, uint8_t channel) {
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = CatalogueEntry(i);
        if (e.tableType == ttHistoric && e.quantity == quantity && e.unit == unit &&
            e.channel == channel)
            return i;
    }
    return -1;
}

std::vector<float> TwoSampleDays(float night, float day, float phase, float noise) {
    constexpr int Samples = 2 * 288;
    std::vector<float> values;
    for (int i = 0; i < Samples; ++i) {
        const double hours = 9.5 + i / 12.0;
        const double load =
            0.5 - 0.5 * std::cos((hours - 4.0 - phase) / 24.0 * 2 * std::numbers::pi);
        values.push_back(static_cast<float>(
            night + (day - night) * load + noise * std::sin(i * 2.3 + phase) * std::sin(i * 0.37)));
    }
    return values;
}
