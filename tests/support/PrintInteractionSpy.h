#pragma once

#include "printing/LayoutPrinter.h"

#include <functional>
#include <vector>

// The printer's questions answered as vrotool answers them, with what the windows would have
// shown remembered: the page counts of the options, the names asked, the progress. Cancels
// once the progress has reached CancelAt (0: never).
class PrintInteractionSpy : public PlainPrintInteraction {
public:
    using PlainPrintInteraction::PlainPrintInteraction;
    bool ExecuteOptions(PrintSettings& settings, int32_t pageCount) override {
        PagesShown.push_back(pageCount);
        if (Choose)
            Choose(settings);
        return Confirm && PlainPrintInteraction::ExecuteOptions(settings, pageCount);
    }
    QString PdfFileName(const QString& proposed) override {
        ++NamesAsked;
        return PlainPrintInteraction::PdfFileName(proposed);
    }
    void SetProgress(int32_t position) override {
        Positions.push_back(position);
        if (OnProgress)
            OnProgress(position);
    }
    bool Cancelled() const override {
        return CancelAt > 0 && !Positions.empty() && Positions.back() >= CancelAt;
    }

    bool Confirm = true;
    std::function<void(PrintSettings&)> Choose;
    std::function<void(int32_t)> OnProgress;
    int32_t CancelAt = 0;
    int NamesAsked = 0;
    std::vector<int32_t> PagesShown;
    std::vector<int32_t> Positions;
};
