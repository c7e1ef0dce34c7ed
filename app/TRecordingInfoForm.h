#pragma once

#include "model/DateTime.h"
#include "model/LSession.h"
#include "windows/shell/TToolForm.h"

#include <QLocale>
#include <QString>

#include <array>
#include <memory>

class QLabel;
namespace Ui {
class TRecordingInfoForm;
}

// The start or end of a recording as the survey, statistics and reports write a time: the
// locale's short date (a four-digit year) and long time, the time even at midnight.
QString DateTimeText(TDateTime value, const QLocale& locale = QLocale());

// The recording's description as the window lists it: ten captions and their values, in the
// order User ID, Location, Comments, Start time, End time, Phase, Mode, Rate, Interval, CT.
struct RecordingInfoLine {
    QString Caption;
    QString Value;
};
using RecordingInfoLines = std::array<RecordingInfoLine, 10>;
RecordingInfoLines RecordingInfo(const LSession& session, const QLocale& locale = QLocale());

// The clipboard's form: each line is caption, TAB, value, CR LF (the last one too).
QString RecordingInfoText(const RecordingInfoLines& lines);

// The tool window that lists the open recording's description and settings.
class TRecordingInfoForm : public TToolForm {
    Q_OBJECT

public:
    explicit TRecordingInfoForm(QWidget* parent = nullptr);
    ~TRecordingInfoForm() override;

    // Takes a copy of the recording's description and shows it; call again after it changed.
    void ShowRecording(const LSession& session);
    // Fills the value labels again from the copy (for a change of the locale's formats).
    void UpdateLabels();
    // The lines as the window shows them.
    RecordingInfoLines Lines() const;
    void CopyToClipboard() const;

private:
    std::array<QLabel*, 10> Captions() const;
    std::array<QLabel*, 10> Values() const;

    std::unique_ptr<Ui::TRecordingInfoForm> Form;
    LSession Session;
};

// The window made at start-up, or one made now if there is none yet.
TRecordingInfoForm& RecordingInfoForm();
