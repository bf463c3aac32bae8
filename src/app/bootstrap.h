#pragma once
namespace kelm {

// Installs the toolkit realisation chosen at build time and the program's identity.
void StartToolkit(int& argc, char** argv);
void StopToolkit();

} // namespace kelm
