// The forward and inverse function of every code, which the catalogue rows
// point to. Only the catalogue and engine/model_functions.cpp include this.
#pragma once

#include "engine/model.hpp"

namespace quilmor::engine::models {

// clang-format off
double FreqLinear(const Parameters&, double, const FreqContext&);
double FreqPowerExponential(const Parameters&, double, const FreqContext&);
double FreqExponential(const Parameters&, double, const FreqContext&);
double FreqGumbel(const Parameters&, double, const FreqContext&);
double FreqMirroredGumbel(const Parameters&, double, const FreqContext&);
double FreqTwoPiece(const Parameters&, double, const FreqContext&);
double FreqNormal(const Parameters&, double, const FreqContext&);
double FreqGeneralizedGumbel(const Parameters&, double, const FreqContext&);
double FreqGeneralizedMirroredGumbel(const Parameters&, double, const FreqContext&);
double FreqLogistic(const Parameters&, double, const FreqContext&);
double FreqLogLogistic(const Parameters&, double, const FreqContext&);
double FreqGeneralizedLogistic(const Parameters&, double, const FreqContext&);
double FreqPareto(const Parameters&, double, const FreqContext&);
double FreqWeibull(const Parameters&, double, const FreqContext&);
double FreqFrechet(const Parameters&, double, const FreqContext&);
double FreqFisherTippett3(const Parameters&, double, const FreqContext&);
double FreqGeneralizedWeibull(const Parameters&, double, const FreqContext&);
double FreqStudent1(const Parameters&, double, const FreqContext&);
double FreqStudent2(const Parameters&, double, const FreqContext&);

double InverseLinear(const Parameters&, double, const InverseContext&);
double InversePowerExponential(const Parameters&, double, const InverseContext&);
double InverseExponential(const Parameters&, double, const InverseContext&);
double InverseGumbel(const Parameters&, double, const InverseContext&);
double InverseMirroredGumbel(const Parameters&, double, const InverseContext&);
double InverseTwoPiece(const Parameters&, double, const InverseContext&);
double InverseTwoPieceTopClamped(const Parameters&, double, const InverseContext&);
double InverseTwoPieceClamped(const Parameters&, double, const InverseContext&);
double InverseNormal(const Parameters&, double, const InverseContext&);
double InverseGeneralizedGumbel(const Parameters&, double, const InverseContext&);
double InverseGeneralizedMirroredGumbel(const Parameters&, double, const InverseContext&);
double InverseLogistic(const Parameters&, double, const InverseContext&);
double InverseLogLogistic(const Parameters&, double, const InverseContext&);
double InverseGeneralizedLogistic(const Parameters&, double, const InverseContext&);
double InversePareto(const Parameters&, double, const InverseContext&);
double InverseWeibull(const Parameters&, double, const InverseContext&);
double InverseFrechet(const Parameters&, double, const InverseContext&);
double InverseFisherTippett3(const Parameters&, double, const InverseContext&);
double InverseGeneralizedWeibull(const Parameters&, double, const InverseContext&);
double InverseStudent1(const Parameters&, double, const InverseContext&);
double InverseStudent2(const Parameters&, double, const InverseContext&);
// clang-format on

}  // namespace quilmor::engine::models
