#pragma once

class QWidget;

// Start-up's first step: reads the client book and tells the user when the file could not be
// read or holds damaged records. The program goes on either way.
void LoadClientBookAtStart(QWidget* parent = nullptr);
