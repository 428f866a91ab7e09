#pragma once
// The loader's whole class table: the framework's classes and the panel controls, in the order
// in which the loader tests a record's class name.

#include "panelfile/LoaderClasses.h"

namespace trovelin {

LoaderClassTable panelLoaderClasses();

}  // namespace trovelin
