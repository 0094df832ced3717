#include "codestyle/CodeStyleNode.h"

#include <algorithm>

namespace kv::codestyle {

bool StyleWithinLimits(const CodeStyleNode& style) {
    const auto shapeFits = [](const SymbolShape& shape) {
        return shape.count <= CodeStyleNode::kMaxShapeCount;
    };
    const auto layoutFits = [](const FrameLayout& layout) {
        return layout.count <= CodeStyleNode::kMaxLayoutCount;
    };
    return style.symbolCount <= CodeStyleNode::kMaxSymbols &&
           std::all_of(style.symbolShapes.begin(), style.symbolShapes.end(), shapeFits) &&
           style.layoutCount <= CodeStyleNode::kMaxLayouts &&
           std::all_of(style.layouts.begin(), style.layouts.end(), layoutFits) &&
           style.sequenceLength <= CodeStyleNode::kMaxSequenceLength &&
           style.tailCount <= CodeStyleNode::kMaxTailCount &&
           style.repeatCount <= style.sequenceLength;
}

}  // namespace kv::codestyle
