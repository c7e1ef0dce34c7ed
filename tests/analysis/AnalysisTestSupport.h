#pragma once

#include "model/DateTime.h"
#include "model/LParameterCollection.h"

#include <cstdint>
#include <vector>

// Recordings built in memory, whose answers are known by construction.

// The catalogue entry of this table type, quantity, unit and channel.
int Entry(LTableType type, uint8_t quantity, uint8_t unit, uint8_t channel);

// Quantities, units and channels the analyses' tests use.
namespace code {
constexpr uint8_t Rms = 0, RealPower = 1, ReactivePower = 2, ApparentPower = 3, Energy = 9;
constexpr uint8_t Volts = 0, Amperes = 1, Watts = 2, Var = 3, VoltAmperes = 4, WattHours = 6;
constexpr uint8_t I1 = 4, VAN = 15, VBN = 16, IA = 18, IB = 19, IC = 20, IN = 21, PhaseA = 22,
                  PhaseB = 23, PhaseC = 24, ThreePhase = 25;
} // namespace code

// A Historic parameter of the recording: values[k] at start + k × rate / 86 400.
LParameter* AddHistoric(LParameterCollection& recording, uint8_t quantity, uint8_t unit,
                        uint8_t channel, std::vector<float> values, TDateTime start, int32_t rate);
// A parameter of another table type, a time per value.
LParameter* AddStamped(LParameterCollection& recording, LTableType type, uint8_t quantity,
                       uint8_t unit, uint8_t channel, std::vector<float> values,
                       std::vector<TDateTime> times);

// 2024-03-11 is a Monday.
TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, double second = 0);
// The time at its whole second, as the analyses report times.
TDateTime Second(TDateTime time);
