// Figures of the Moon information window, computed without a window.
#pragma once
