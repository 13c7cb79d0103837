#pragma once

#include "demo/model/display_product.h"

// A link whose far end can take the part of any demonstrated model (the simulated display). Each port job
// that opens it tells it the model, on the device worker's thread, so the model travels with the job and
// nothing about it is shared between the windows' thread and the worker's.
class ModelledLink
{
public:
    virtual ~ModelledLink() = default;
    // The model the next open connects to.
    virtual void setDisplayModel(DisplayProduct model) = 0;
};
