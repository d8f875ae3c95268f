#pragma once
// Tells the object tree which window "Вход" opens at each level. Called once
// by the program before the main window is built.
void registerObjectDialogs();
