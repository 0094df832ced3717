#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv::workflow {

// Turns the raw capture of the remote (16-bit capture words as hex text, in
// 1/3 µs units, marks with bit 15 set, "7FFF" overflow chunks, an end gap of
// at least 20 chunks and a carrier trailer) into the capture text: the decimal
// frame count, the carrier field, the carrier marker and the capture frames of
// microsecond tokens.
//
// The result is empty when the capture holds no complete end gap and carrier
// trailer, or when a word that the conversion has to interpret is not
// hexadecimal (the filler of a broken capture): the operator learns again.
// Of the last trailer word only its first two characters are interpreted.
std::string CaptureToHex(std::string_view raw);

// The fields of a capture text. Views into the text they were split from.
struct CaptureTextParts {
    std::string_view frameCount;     // decimal, 1 digit below 10 frames, more from 10 on
    std::string_view carrier;        // kHz as hex, "00" without carrier
    std::string_view carrierMarker;  // "12", "00" without carrier
    std::string_view body;           // the capture frames
    int frames = 0;
};

// Cuts a capture text made by CaptureToHex into its fields. The frame count
// has as many digits as it needs, so its length is found from the body: the
// count must equal the number of frame ends ("EDED" tokens) of a body made of
// whole 4-character tokens. None when the text has no such shape.
std::optional<CaptureTextParts> SplitCaptureText(std::string_view captureText);

// The body of a capture text, which is what the encoder analyses; empty when
// the text is not a capture text.
std::string CaptureTextBody(std::string_view captureText);

}  // namespace kv::workflow
