#pragma once
// The chart window's frame: start-up of its objects, the layout of its
// frames, the grid, the three axes and their labels, the statistics panel
// and the vertical pan.
#include <cstdint>

namespace accelog {

// Form_Load of the chart window: window size, objects, axes, grid, check
// boxes; then MainFrameInit and ClearText.
void FormPictureLoad();
void MainFrameInit();
void DispLeftLableY();
void DispRightLableAngl();
void DispXLable();
void ClearText();

// Grid check boxes "Disp Line X" / "Disp Line Y".
void Check9_Click(int16_t value);
void Check10_Click(int16_t value);

// Vertical pan; only while MenuCommandCode is 12, 13 or 14.
void Picture1_Click();
void Picture2_Click();

// Column c's x in the plot, as the grid line of the column has it.
float ColumnX(int c);

}  // namespace accelog
