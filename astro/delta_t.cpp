#include "astro/delta_t.h"

#include <cmath>

namespace {

// Delta T on 1 January of each year, seconds. 1900-1972: the yearly values of the historical
// series (Stephenson & Morrison, McCarthy & Babcock) as the US Naval Observatory tabulates them;
// 1973-2023: its monthly series from the IERS observations of UT1, the January value; 2024 and
// 2025: 32.184 s + TAI-UTC - (UT1-UTC) from the IERS Bulletin A of 1 January, to 0.01 s.
struct DeltaTYear {
    int32_t year;
    double seconds;
};

static const DeltaTYear DeltaTObserved[] = {
    {1900,    -2.7},
    {1901,   -1.48},
    {1902,   -0.08},
    {1903,    1.26},
    {1904,    2.59},
    {1905,    3.92},
    {1906,     5.2},
    {1907,    6.29},
    {1908,    7.68},
    {1909,    9.13},
    {1910,   10.38},
    {1911,   11.64},
    {1912,   13.23},
    {1913,   14.69},
    {1914,    16.0},
    {1915,   17.19},
    {1916,   18.19},
    {1917,   19.13},
    {1918,   20.14},
    {1919,   20.86},
    {1920,   21.41},
    {1921,   22.06},
    {1922,   22.51},
    {1923,   23.01},
    {1924,   23.46},
    {1925,   23.63},
    {1926,   23.95},
    {1927,   24.39},
    {1928,   24.34},
    {1929,    24.1},
    {1930,   24.02},
    {1931,   23.98},
    {1932,   23.89},
    {1933,   23.93},
    {1934,   23.88},
    {1935,   23.91},
    {1936,   23.76},
    {1937,   23.91},
    {1938,   23.96},
    {1939,   24.04},
    {1940,   24.35},
    {1941,   24.82},
    {1942,    25.3},
    {1943,   25.77},
    {1944,   26.27},
    {1945,   26.76},
    {1946,   27.27},
    {1947,   27.77},
    {1948,   28.25},
    {1949,    28.7},
    {1950,   29.15},
    {1951,   29.57},
    {1952,   29.97},
    {1953,   30.36},
    {1954,   30.72},
    {1955,   31.07},
    {1956,  31.349},
    {1957,  31.677},
    {1958,  32.166},
    {1959,  32.671},
    {1960,   33.15},
    {1961,  33.584},
    {1962,  33.992},
    {1963,  34.466},
    {1964,   35.03},
    {1965,  35.738},
    {1966,  36.546},
    {1967,  37.429},
    {1968,  38.291},
    {1969,  39.204},
    {1970,  40.182},
    {1971,   41.17},
    {1972,  42.227},
    {1973,  43.373},
    {1974, 44.4841},
    {1975, 45.4761},
    {1976, 46.4567},
    {1977, 47.5214},
    {1978, 48.5344},
    {1979, 49.5861},
    {1980, 50.5387},
    {1981, 51.3808},
    {1982, 52.1668},
    {1983, 52.9565},
    {1984, 53.7882},
    {1985, 54.3427},
    {1986, 54.8713},
    {1987, 55.3222},
    {1988, 55.8197},
    {1989,    56.3},
    {1990, 56.8553},
    {1991, 57.5653},
    {1992, 58.3092},
    {1993, 59.1218},
    {1994, 59.9845},
    {1995, 60.7853},
    {1996, 61.6287},
    {1997,  62.295},
    {1998, 62.9659},
    {1999, 63.4673},
    {2000, 63.8285},
    {2001, 64.0908},
    {2002, 64.2998},
    {2003, 64.4734},
    {2004, 64.5736},
    {2005, 64.6876},
    {2006, 64.8452},
    {2007, 65.1464},
    {2008, 65.4573},
    {2009, 65.7768},
    {2010, 66.0699},
    {2011, 66.3246},
    {2012,  66.603},
    {2013, 66.9069},
    {2014,  67.281},
    {2015, 67.6439},
    {2016, 68.1024},
    {2017, 68.5927},
    {2018, 68.9676},
    {2019, 69.2202},
    {2020, 69.3612},
    {2021, 69.3593},
    {2022, 69.2945},
    {2023, 69.1698},
    {2024,   69.17},
    {2025,   69.14},
};

constexpr int32_t kDeltaTYears =
    static_cast<int32_t>(sizeof(DeltaTObserved) / sizeof(DeltaTObserved[0]));

// JD of 2000 January 1.0 UT and the mean Gregorian year in days: the table's year fraction.
constexpr double kJulianDate2000 = 2451544.5;
constexpr double kGregorianYear = 365.2425;

// Beyond the observations: the Earth's rotation has kept Delta T within a second of 69 s since
// 2016, so the last observed value is held, and only the long-term lengthening of the day by the
// tides is added: the 32 s per century squared of the secular parabola (Morrison & Stephenson
// 2004). That gives about 71 s in 2050 and 87 s in 2100; the true value will differ by seconds
// within a decade and perhaps by a minute or more by 2100, which no model can promise.
constexpr double kTidalSecondsPerCenturySquared = 32.0;

double Extrapolated(double edgeSeconds, double years) {
    const double u = years / 100.0;
    return edgeSeconds + kTidalSecondsPerCenturySquared * u * u;
}

}  // namespace

double DeltaTSeconds(double jd) {
    const double year = 2000.0 + (jd - kJulianDate2000) / kGregorianYear;
    const DeltaTYear& first = DeltaTObserved[0];
    const DeltaTYear& last = DeltaTObserved[kDeltaTYears - 1];
    if (!(year >= first.year)) {
        // Also NaN: the comparison fails and the extrapolation carries the NaN through.
        return Extrapolated(first.seconds, year - first.year);
    }
    if (year >= last.year) {
        return Extrapolated(last.seconds, year - last.year);
    }
    // Linear between the yearly values: the curvature of Delta T within a year stays under 0.1 s.
    const int32_t i = static_cast<int32_t>(std::floor(year)) - first.year;
    const double f = year - (first.year + i);
    return DeltaTObserved[i].seconds +
           f * (DeltaTObserved[i + 1].seconds - DeltaTObserved[i].seconds);
}

JulianCenturies EphemerisCenturies(double jd) {
    return (jd + DeltaTSeconds(jd) / 86400.0 - 2451545.0) / 36525.0;
}

double UniversalJulianDate(JulianCenturies T) {
    const double jdTT = 2451545.0 + T * 36525.0;
    double jd = jdTT;
    for (int i = 0; i < 3; ++i)
        jd = jdTT - DeltaTSeconds(jd) / 86400.0;
    return jd;
}
