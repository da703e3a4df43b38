#pragma once

#include "platform/web/DrawingObjects.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The GDI model of a drawing surface over a canvas's 2D context: the selected brush, pen and
// font and the text colours stay with the surface; the page draws each operation at once.
// Rectangles are whole-pixel fills, so nothing is anti-aliased but the text.
class CanvasSurface : public DrawingSurface {
 public:
  // surfaceId: the page's number of the canvas (0 for the visible one).
  CanvasSurface(const DrawingObjects& objects, int surfaceId, bool recordsText)
      : objects_(objects), surfaceId_(surfaceId), recordsText_(recordsText) {
    resetState();
  }

  int surfaceId() const { return surfaceId_; }
  // A surface as GetDC hands it out: white brush, black pen, default font, black text on an
  // opaque white background.
  void resetState();

  void selectObject(GdiObject object) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void patBlt(int x, int y, int width, int height) override;
  void setTextColor(Rgb colour) override { textColour_ = colour; }
  void setBkColor(Rgb colour) override { bkColour_ = colour; }
  void setBkModeTransparent() override { transparent_ = true; }
  void textOut(int x, int y, std::string_view text) override;
  TextExtent textExtent(std::string_view text) override;
  void copyFrom(DrawingSurface& source, int width, int height) override;

 private:
  void useFont();

  const DrawingObjects& objects_;
  int surfaceId_;
  bool recordsText_;
  Rgb brush_;
  Rgb pen_;
  FontSpec font_;
  bool fontChanged_ = true;
  Rgb textColour_;
  Rgb bkColour_;
  bool transparent_ = false;
};

}  // namespace mtd
