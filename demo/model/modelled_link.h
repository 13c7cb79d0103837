#pragma once

#include "model/demo_model.h"

// A link whose far end can take the part of any demonstrated model (the simulated display). The port
// worker tells it the model of each job that opens it, so the model travels with the job and nothing
// about it is shared between the windows' thread and the worker's.
class ModelledLink
{
public:
    virtual ~ModelledLink() = default;
    // The model the next open connects to.
    virtual void setDisplayModel(DemoModel model) = 0;
};
