#include "app/TRecordingInfoForm.h"

#include "model/RecordingFacts.h"
#include "texts/DateTimeText.h"
#include "windows/shell/Help.h"

#include "ui_TRecordingInfoForm.h"
#include "windows/shell/WindowInstance.h"

#include <QApplication>
#include <QClipboard>

namespace {
const char* const CaptionTexts[10] = {"User ID", "Location", "Comments", "Start time", "End time",
                                      "Phase",   "Mode",     "Rate",     "Interval",   "CT"};
} // namespace

QString DateTimeText(TDateTime value, const QLocale& locale) {
    return DateTimeFormatter(locale).FullDateTimeToStr(value);
}

RecordingInfoLines RecordingInfo(const LSession& session, const QLocale& locale) {
    const auto facts = RecordingFacts(session);
    RecordingInfoLines lines;
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = {QString::fromLatin1(CaptionTexts[i]),
                    facts[i].Time ? DateTimeText(*facts[i].Time, locale)
                                  : QString::fromStdString(facts[i].Text)};
    return lines;
}

QString RecordingInfoText(const RecordingInfoLines& lines) {
    QString text;
    for (const RecordingInfoLine& line : lines)
        text += line.Caption + QLatin1Char('\t') + line.Value + QStringLiteral("\r\n");
    return text;
}

TRecordingInfoForm::TRecordingInfoForm(QWidget* parent)
    : TToolForm(parent), Form(std::make_unique<Ui::TRecordingInfoForm>()) {
    SetHelpTopic(this, "info");
    Form->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowCloseButtonHint);
    CloseOnEscape();
    WindowInstance<TRecordingInfoForm>::Register(this);
}

TRecordingInfoForm::~TRecordingInfoForm() = default;

void TRecordingInfoForm::ShowRecording(const LSession& session) {
    Session = session;
    UpdateLabels();
}

void TRecordingInfoForm::UpdateLabels() {
    const RecordingInfoLines lines = RecordingInfo(Session);
    const auto values = Values();
    for (size_t i = 0; i < lines.size(); ++i)
        values[i]->setText(lines[i].Value);
}

RecordingInfoLines TRecordingInfoForm::Lines() const {
    RecordingInfoLines lines;
    const auto captions = Captions();
    const auto values = Values();
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = {captions[i]->text(), values[i]->text()};
    return lines;
}

void TRecordingInfoForm::CopyToClipboard() const {
    QApplication::clipboard()->setText(RecordingInfoText(Lines()));
}

std::array<QLabel*, 10> TRecordingInfoForm::Captions() const {
    return {Form->UserIDCaption,   Form->LocationCaption, Form->CommentsCaption, Form->StartCaption,
            Form->EndCaption,      Form->PhaseCaption,    Form->ModeCaption,     Form->RateCaption,
            Form->IntervalCaption, Form->CTCaption};
}

std::array<QLabel*, 10> TRecordingInfoForm::Values() const {
    return {Form->UserIDLabel,   Form->LocationLabel, Form->CommentsLabel, Form->StartLabel,
            Form->EndLabel,      Form->PhaseLabel,    Form->ModeLabel,     Form->RateLabel,
            Form->IntervalLabel, Form->CTLabel};
}

TRecordingInfoForm& RecordingInfoForm() {
    return WindowInstance<TRecordingInfoForm>::Get();
}
