#pragma once

// The quantile of Student's t distribution: the t below which the share p of it lies, for df
// degrees of freedom (above 0, not necessarily whole).
double StudentTQuantile(double p, double df);
