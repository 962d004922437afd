#pragma once
// The compiled half of means_values(): a frame's columns of users in, read
// and answered by the answers layer, one test's JSON or a row per
// comparison out; and the parts a cluster's partitions read and merge.

#include <pybind11/pybind11.h>

namespace ambrelay::python {

void DefineValues(pybind11::module_& m);

}  // namespace ambrelay::python
