// The two tooltip texts of the tray icons (Shift_JIS).
#pragma once
