// A game host for the drawing benchmarks: the field is drawn on the canvas
// and nothing else is shown or heard.
#pragma once

#include "view/FieldCanvas.h"
#include "game/GameHost.h"

namespace brakkon::bench {

class CanvasHost : public SilentHost {
public:
    explicit CanvasHost(FieldCanvas& canvas) : canvas_(canvas) {}
    void DrawField(const GateType* gate) override { canvas_.DrawField(gate); }
    void PaintChanges(const GateType& gate) override { canvas_.PaintChanges(gate); }

private:
    FieldCanvas& canvas_;
};

} // namespace brakkon::bench
