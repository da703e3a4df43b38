#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "core/AnimationHooks.h"
#include "core/Configuration.h"
#include "core/Simulation.h"
#include "tests/support/RecordingGraphics.h"
#include "ui/Display.h"
#include "ui/Palette.h"

namespace mtd::testing {

// A display on a recording screen, with the default configuration loaded.
struct DisplayBench {
  DisplayBench(ScreenSize screen, ScreenSize client)
      : graphics(screen, client), display(graphics, sim) {
    loadConfigurationText(sim, std::nullopt);
    display.createDisplay();
    display.setClientSize(client.width, client.height);
  }

  RecordingSurface& back() { return *graphics.backBuffer(); }
  RecordingSurface& window() { return graphics.windowSurface(); }

  std::optional<Rgb> cellOn(RecordingSurface& surface, std::int32_t position, int row) {
    const CellRect r = display.cellRect(position, row);
    return surface.cellColour(r.left, r.top, r.right, r.bottom);
  }

  RecordingGraphics graphics;
  Simulation sim;
  Display display;
};

inline std::string describe(const std::optional<Rgb>& colour) {
  if (!colour) return "none";
  std::ostringstream text;
  text << '(' << int{colour->r} << ',' << int{colour->g} << ',' << int{colour->b} << ')';
  return text.str();
}

}  // namespace mtd::testing
