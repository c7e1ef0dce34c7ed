#pragma once

#include <QWidget>

// The base of the free-floating windows (tables, charts, the recording information): a tool
// window with a small caption and no buttons on its frame, 250 by 300 unless the window's
// own form says otherwise. Descendants lay their form out on the window itself and choose
// their own frame buttons.
class TToolForm : public QWidget {
    Q_OBJECT

public:
    explicit TToolForm(QWidget* parent = nullptr);
    ~TToolForm() override;

protected:
    // For a window that only shows: Escape closes it, as it closes a dialog.
    void CloseOnEscape();
};
