#pragma once
// Where each matrix keeps its calibration, and its first copy from the
// template that ships in the program directory.
#include <QString>

// Windows path of the calibration file of matrix 1..8 (letters A..H) in the
// current project's configuration folder.
QString Matrix_Kalibrierdatei(int matrix);
// Copies "Matrix_Cal_.txt" from the program directory when the file is
// missing (creating the folder); true when the file exists afterwards.
bool Matrix_Kalibrierdatei_bereitstellen(int matrix);
