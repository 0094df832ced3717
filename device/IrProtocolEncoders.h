#pragma once

#include "device/SignalSynthesiser.h"

namespace kv::device {

// One function per protocol family, each in its own file with its timing
// constants at the top. The request has been checked and its frame count
// resolved (at least 1).
IrSignal SynthesiseNec(const SignalRequest& request);  // nec and necx
IrSignal SynthesiseSamsung32(const SignalRequest& request);
IrSignal SynthesiseSony(const SignalRequest& request);  // sony12, sony15 and sony20
IrSignal SynthesiseRc5(const SignalRequest& request);
IrSignal SynthesiseRc6Mode0(const SignalRequest& request);
IrSignal SynthesiseJvc(const SignalRequest& request);
IrSignal SynthesisePanasonic(const SignalRequest& request);
IrSignal SynthesiseSharp(const SignalRequest& request);
IrSignal SynthesiseDenon(const SignalRequest& request);

}  // namespace kv::device
