#pragma once
// The camera-button utility outside the program: its window "KEYVANE" and whether it mutes the microphone.
#include <windows.h>

// The utility's window, or null when it does not run.
HWND FindCameraButtonUtility();
// TRUE when the utility runs and answers that it mutes the microphone (its item 119 answers 1).
BOOL CameraButtonUtilityMutes();
