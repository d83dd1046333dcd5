#pragma once

// Internal to the platform layer: the Qt side of windows.
