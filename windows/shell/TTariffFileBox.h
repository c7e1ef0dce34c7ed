#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QToolButton;

// The survey's tariff file, as the Survey window and the survey report's dialog choose it: the
// simple tariff (no file), one of the recent tariff files, or another one chosen with the
// button. A file that cannot be read shows in red, and its reader's message is its tool tip.
class TTariffFileBox : public QWidget {
    Q_OBJECT

public:
    explicit TTariffFileBox(QWidget* parent = nullptr);

    // Empty for the simple tariff.
    QString File() const;
    // Shows the file, listed after the simple tariff when it is new.
    void SetFile(const QString& file);
    // Why the file shown cannot be read; empty when it can.
    const QString& Error() const { return error_; }

    QComboBox* Box() const { return box_; }
    QToolButton* BrowseButton() const { return browse_; }

    void BrowseClick();

signals:
    void Changed();

private:
    void Check();

    QComboBox* box_;
    QToolButton* browse_;
    QString error_;
};
