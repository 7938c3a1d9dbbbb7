#pragma once

// Sensor characteristics from published reference functions, so that a
// simulated sensor reads what the real one would.
namespace physics {

enum class Thermocouple { J, K, T };

// Thermoelectric voltage in millivolts of a thermocouple whose reference
// junction is at 0 °C (ITS-90 reference functions).
double thermocoupleMillivolts(Thermocouple type, double degrees);
// Lowest and highest temperature the reference function covers.
double thermocoupleMin(Thermocouple type);
double thermocoupleMax(Thermocouple type);
// Temperature of a thermoelectric voltage (reference junction at 0 °C);
// false outside the function's range.
bool thermocoupleDegrees(Thermocouple type, double millivolts, double *degrees);

// Platinum resistance thermometer (IEC 60751, Callendar-Van Dusen) with
// resistance r0 at 0 °C: 100 for a Pt100, 1000 for a Pt1000.
double platinumOhms(double r0, double degrees);

// KTY silicon sensor: R = r25 (1 + a (T-25) + b (T-25)^2), a = 7.88e-3,
// b = 1.937e-5, as the sensor's data sheet gives it.
double ktyOhms(double r25, double degrees);

// Forward voltage of a 1N4148 at a current in amperes and a temperature,
// from the diode equation with the published SPICE model of the part.
double diodeVolts(double amperes, double degrees);

} // namespace physics
