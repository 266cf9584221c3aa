// The installation page.
#include "Unit1.h"

void TForm1::TabSheet3Show(ui::Control*) {}
