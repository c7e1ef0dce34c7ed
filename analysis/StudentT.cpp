#include "analysis/StudentT.h"

#include <boost/math/distributions/students_t.hpp>

double StudentTQuantile(double p, double df) {
    return boost::math::quantile(boost::math::students_t_distribution<double>(df), p);
}
