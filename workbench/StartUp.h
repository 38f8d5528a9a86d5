#pragma once

class QApplication;

// What the program sets up once its QApplication exists and before the first
// window: the point as decimal separator for every number text, the
// application's name and title, the font and the balloon tooltips.
// The GUI tests call it too, so they measure and draw what the program does.
void ConfigureApplication(QApplication& app);
