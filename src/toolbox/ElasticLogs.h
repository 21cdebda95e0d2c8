// The velocity logs that Compute VpVs, Poisson Ratio and Compute Mechanical Properties
// share: velocities from a compressional and a shear slowness, their ratio and
// Poisson's ratio, with -999.25 wherever a value cannot be had.
#pragma once

#include "dataset/QtxLayout.h"

#include <cstdint>

inline constexpr float kElasticNull = qtx::kAbsentValue;

struct VelocityLogs {
    float dtp = kElasticNull, dts = kElasticNull; // the slownesses as written: a negative one is null
    float vp = kElasticNull, vs = kElasticNull;   // km/s
    float ratio = kElasticNull, poisson = kElasticNull;
};

// The velocity scale of a slowness unit: 0.3048 for slowness per foot, 1.0 otherwise.
float SlownessScale(uint8_t unit);

// Velocities are the scale x 1000 / slowness; a slowness below 0 (the null among them)
// or of 0 gives a null velocity. The ratio Vp/Vs counts only above 1.41.
VelocityLogs ComputeVelocityLogs(float dtp, float dts, float scaleP, float scaleS);
