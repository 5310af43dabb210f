#pragma once

class QApplication;

// What the application looks like before any window is built: the style sheet
// and logos from "resource.dll" in the working directory, and the fonts that
// stand in for the Windows ones the texts ask for.
void setUpApplicationLook(QApplication &app);
