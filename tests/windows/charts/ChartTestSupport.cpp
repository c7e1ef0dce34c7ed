#include "tests/windows/charts/ChartTestSupport.h"

#include "model/LParameter.h"

std::unique_ptr<TChartForm> NewChart(LDatabase& db, std::initializer_list<int> parameters) {
    auto form = std::make_unique<TChartForm>(*db.AddChart());
    LParameterSourceGroup group(&db.Header());
    for (int i : parameters)
        group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
    form->SetGroup(group);
    return form;
}

int SeriesOfUnit(const TChartForm& form, uint8_t unit) {
    const LParameterSourceGroup& sources = form.Record().Sources;
    for (int32_t i = 0; i < sources.Count(); ++i)
        if (sources.Items(i)->Parameter->Unit() == unit)
            return i;
    return -1;
}
