#include "app/TJoinDialog.h"

#include "database/LDatabase.h"
#include "model/LParameterCollection.h"
#include "model/LSession.h"
#include "texts/DateTimeText.h"
#include "windows/shell/Help.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList AskForFiles(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Add recordings"), QString(),
        QStringLiteral("Vireo Zure files (*.vro *.bin);;All Files (*)"));
}

} // namespace

TJoinDialog::TJoinDialog(QWidget* parent) : TStandardDialog(parent), askFiles_(AskForFiles) {
    SetHelpTopic(this, "join");
    setWindowTitle(QStringLiteral("Join recordings"));
    OKButton()->setText(QStringLiteral("Join"));

    auto* layout = new QVBoxLayout(ContentPanel());
    files_ = new QTreeWidget;
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Location"),
                             QStringLiteral("Period"), QStringLiteral("Rate"),
                             QStringLiteral("Parameters"), QStringLiteral("Before it")});
    files_->setRootIsDecorated(false);
    files_->setUniformRowHeights(true);
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setMinimumSize(900, 200);
    layout->addWidget(files_);

    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("&Add..."));
    add_->setObjectName(QStringLiteral("AddFileButton"));
    remove_ = new QPushButton(QStringLiteral("&Remove"));
    remove_->setObjectName(QStringLiteral("RemoveFileButton"));
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* choice = new QHBoxLayout;
    auto* caption =
        new QLabel(QStringLiteral("Where a recording starts before an earlier one ends:"));
    overlap_ = new QComboBox;
    overlap_->setObjectName(QStringLiteral("OverlapComboBox"));
    overlap_->addItems({QStringLiteral("Refuse the join"),
                        QStringLiteral("Keep the earlier recording's samples"),
                        QStringLiteral("Take the later recording's samples")});
    caption->setBuddy(overlap_);
    choice->addWidget(caption);
    choice->addWidget(overlap_);
    choice->addStretch();
    layout->addLayout(choice);

    verdict_ = new QLabel;
    verdict_->setObjectName(QStringLiteral("VerdictLabel"));
    verdict_->setWordWrap(true);
    verdict_->setMinimumHeight(3 * verdict_->fontMetrics().lineSpacing());
    verdict_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(verdict_);

    connect(add_, &QPushButton::clicked, this, &TJoinDialog::AddFileButtonClick);
    connect(remove_, &QPushButton::clicked, this, &TJoinDialog::RemoveFileButtonClick);
    connect(overlap_, &QComboBox::currentIndexChanged, this, [this] { UpdatePlan(); });
    UpdatePlan();
}

TJoinDialog::~TJoinDialog() = default;

void TJoinDialog::AddFiles(const QStringList& fileNames) {
    QStringList failures;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& name : fileNames) {
        try {
            inputs_.push_back(ReadJoinInput(name.toStdString()));
        } catch (const std::exception& e) {
            failures << QString::fromStdString(e.what());
        }
    }
    QApplication::restoreOverrideCursor();
    UpdatePlan();
    if (!failures.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), failures.join('\n'),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

void TJoinDialog::AddFileButtonClick() {
    const QStringList names = askFiles_(this);
    if (!names.isEmpty())
        AddFiles(names);
}

void TJoinDialog::RemoveFileButtonClick() {
    std::vector<size_t> chosen;
    for (const QTreeWidgetItem* item : files_->selectedItems())
        chosen.push_back(item->data(FileColumn, Qt::UserRole).toULongLong());
    std::sort(chosen.rbegin(), chosen.rend());
    for (const size_t i : chosen)
        inputs_.erase(inputs_.begin() + static_cast<std::ptrdiff_t>(i));
    UpdatePlan();
}

JoinOverlap TJoinDialog::Overlap() const {
    switch (overlap_->currentIndex()) {
    case 1:
        return JoinOverlap::Earlier;
    case 2:
        return JoinOverlap::Later;
    default:
        return JoinOverlap::Refuse;
    }
}

void TJoinDialog::SetOverlap(JoinOverlap overlap) {
    overlap_->setCurrentIndex(overlap == JoinOverlap::Earlier ? 1
                              : overlap == JoinOverlap::Later ? 2
                                                              : 0);
}

JoinPlan TJoinDialog::JoinInto(LDatabase& database) {
    std::vector<JoinInput> inputs = std::move(inputs_);
    inputs_.clear();
    UpdatePlan();
    return JoinRecordings(std::move(inputs), Overlap(), database);
}

void TJoinDialog::UpdatePlan() {
    plan_ = PlanJoin(inputs_, Overlap());
    // The order of the join; as added while there is none.
    std::vector<size_t> order(inputs_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (plan_.Steps.size() == inputs_.size())
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = plan_.Steps[k].Input;
    files_->clear();
    for (size_t k = 0; k < order.size(); ++k) {
        const JoinInput& input = inputs_[order[k]];
        const LSession& s = input.Recording->Header();
        auto* item = new QTreeWidgetItem(files_);
        item->setText(FileColumn, FromStd(FileBaseName(input.FileName)));
        item->setToolTip(FileColumn, FromStd(input.FileName));
        item->setData(FileColumn, Qt::UserRole, static_cast<qulonglong>(order[k]));
        item->setText(LocationColumn, FromStd(s.Location));
        item->setText(PeriodColumn, DateTimeToStr(s.StartTime) + QStringLiteral(" to ") +
                                        DateTimeToStr(s.EndTime));
        item->setText(RateColumn, FromStd(s.RateText()));
        item->setText(ParametersColumn, QString::number(input.Recording->Parameters().Count()));
        item->setTextAlignment(ParametersColumn, Qt::AlignRight | Qt::AlignVCenter);
        if (plan_.Steps.size() == inputs_.size())
            item->setText(BeforeColumn, FromStd(NeighbourText(plan_.Steps[k], k == 0)));
    }
    for (int c = 0; c < files_->columnCount(); ++c)
        files_->resizeColumnToContents(c);

    QString verdict;
    QPalette palette = verdict_->palette();
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    if (inputs_.empty()) {
        verdict = QStringLiteral("Add the recordings of one site to join: database files or "
                                 "1.x export files.");
    } else if (!plan_.Refusal.empty()) {
        verdict = QStringLiteral("They cannot be joined: ") + FromStd(plan_.Refusal);
        palette.setColor(QPalette::WindowText, Qt::darkRed);
    } else {
        const int64_t rate = inputs_.front().Recording->Header().RateSeconds();
        const auto count = [&](bool overlaps) {
            return std::count_if(
                plan_.Steps.begin() + 1, plan_.Steps.end(),
                [&](const JoinStep& s) { return overlaps ? s.GapPeriods < 0 : s.GapPeriods > 0; });
        };
        const auto gaps = count(false), overlaps = count(true);
        verdict = QStringLiteral("The %1 recordings join into one of %2, with %3 %4 and %5 %6.")
                      .arg(inputs_.size())
                      .arg(FromStd(SpanText(plan_.Periods * rate)))
                      .arg(gaps)
                      .arg(gaps == 1 ? QStringLiteral("gap") : QStringLiteral("gaps"))
                      .arg(overlaps)
                      .arg(overlaps == 1 ? QStringLiteral("overlap") : QStringLiteral("overlaps"));
        for (const std::string& move : plan_.Moves)
            verdict += '\n' + FromStd(move);
    }
    verdict_->setPalette(palette);
    verdict_->setText(verdict);
    OKButton()->setEnabled(plan_.Refusal.empty());
    remove_->setEnabled(!inputs_.empty());
}
