// Besselian elements of a solar eclipse: the Moon's shadow described in the fundamental plane,
// the plane through the Earth's centre perpendicular to the axis of the shadow. Distances are in
// the Earth's equatorial radius; x points east, y north, and z along the axis towards the Moon.
#pragma once

// The Moon's radius in the Earth's equatorial radius. The outer contacts use the IAU mean radius;
// the inner ones (totality, annularity) a radius smaller by about 1.5 km, the mean depth of the
// valleys of the Moon's limb, through which the last beads of sunlight shine. NASA's canon gives
// the inner one back from its elements' l2; its outer one, 0.2724880, is 125 m smaller than the
// IAU's, a tenth of a second of a contact.
constexpr double kMoonRadiusPenumbral = 0.2725076;
constexpr double kMoonRadiusUmbral = 0.2722810;

// The Earth's polar radius over its equatorial one (IAU 1976, as the risings take it).
constexpr double kEarthAxisRatio = 0.99664719;

// The elements at one instant.
struct BesselianSample {
    double x;  // the shadow axis' intersection with the fundamental plane
    double y;
    double d;      // declination of the axis, degrees
    double mu;     // Greenwich hour angle of the axis, degrees (not reduced to one turn)
    double l1;     // radius of the penumbra in the fundamental plane
    double l2;     // radius of the umbra in the fundamental plane, negative while it is a cone
                   // whose vertex lies beyond the plane (a total eclipse)
    double tanF1;  // tangents of the half-angles of the penumbral and umbral cones
    double tanF2;
};

// The elements at the dynamical-time Julian Date jdTT, from the precise Moon (its place as seen,
// light time included) and the precise Sun (apparent: aberration and nutation). deltaT (seconds)
// turns dynamical time into the universal time of the Earth's rotation for mu. The Moon's light
// time is taken from its distance `moonKm` (any value within a few thousand km does).
BesselianSample BesselianAt(double jdTT, double deltaT, double moonKm);

// The same from the short series (about 10" for the Moon, 0.01 degree for the Sun): good to about
// 0.005 Earth radii, enough to tell a lunation that cannot hold an eclipse from one that may.
BesselianSample RoughBesselianAt(double jdTT, double deltaT);

// Polynomials in t, hours of dynamical time from jdTT0, as the almanacs publish them: each element
// is the sum of c[k] t^k. Within 3e-7 Earth radii (2 m) of BesselianAt over kBesselianSpan hours
// either side of jdTT0 (measured on every seventh eclipse of 1900-2100).
constexpr int kBesselianTerms = 7;
constexpr double kBesselianSpan = 4.0;
struct BesselianElements {
    double jdTT0;
    double deltaT;       // seconds, TT - UT
    double sunDistance;  // au, at jdTT0
    double x[kBesselianTerms];
    double y[kBesselianTerms];
    double d[kBesselianTerms];
    double mu[kBesselianTerms];
    double l1[kBesselianTerms];
    double l2[kBesselianTerms];
    double tanF1;
    double tanF2;
};

// Fits the polynomials at the Chebyshev points of jdTT0 +- kBesselianSpan hours: the short series'
// elements there, corrected by their difference from BesselianAt's at the span's middle and ends.
BesselianElements FitBesselianElements(double jdTT0, double deltaT);

// The elements at t hours from the fit's origin.
BesselianSample EvaluateBesselian(const BesselianElements& e, double t);

// The point of the ellipsoid that the line through (xi, eta) parallel to the axis meets first on
// the Sun's side, or, when it misses the Earth, the point of the Earth's limb nearest to it:
// geodetic latitude and east longitude in degrees. *zeta is its height along the axis (0 on the
// limb). d and mu as in BesselianSample.
void SurfacePointBelow(double xi, double eta, double d, double mu, double* latitude,
                       double* longitude, double* zeta);

// The Earth's outline in the fundamental plane is an ellipse of semi-axes 1 (x) and
// sqrt(1 - e^2 cos^2 d) (y). Distance of (x, y) from that outline, negative inside it, and the
// outline's nearest point.
double DistanceFromLimb(double x, double y, double d, double* limbX, double* limbY);
