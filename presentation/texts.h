// Texts of the program that several windows share.
#pragma once

// Caption of the program's message boxes: "Nocturo".
const char* GetAppTitle();
