// The mouse-over, menu and tool-bar text colours (and the background colour,
// kept hidden), typed as RGB values, picked in the system colour dialog or
// from a palette of swatches. The rules live in ColorModel.
#pragma once

#include "pages/color_model.h"
#include "wizard/page_frame.h"

class CTColor : public COkapiPage {
 public:
  using Row = ColorModel::Row;
  using Rgb = ColorModel::Rgb;

  CTColor();

  CStatic m_ctlPalette;

  void DoDataExchange(CDataExchange* pDX) override;
  bool OnCommand(int id, unsigned code) override;
  void OnLButtonUp(CPoint point) override;
  void OnPaint() override;
  int OnWizardNext() override;

  const ColorModel& Model() const { return m_model; }

 protected:
  void LoadPage() override;

 private:
  void OnMouseOverClicked() { ChooseColorFor(Row::MouseOver); }
  void OnMenuTextClicked() { ChooseColorFor(Row::Menu); }
  void OnToolBarClicked() { ChooseColorFor(Row::ToolBar); }
  void OnBackgroundClicked() { ChooseColorFor(Row::Background); }
  void ChooseColorFor(Row row);
  void Pick(Rgb color);
  void PlacePalette();
  void RefreshPalette();

  ColorModel m_model;
};
