// The detection page and the host library probe.
#include "Unit1.h"

void TForm1::ProbeHost() {}

void TForm1::TabSheet2Show(ui::Control*) {}

void TForm1::TabSheet2Hide(ui::Control*) {}

void TForm1::BitBtn5Click(ui::Control*) {}
