#pragma once

#include "catalogue/FormDrugsEditor.h"
#include "collection/FormBuyCollect.h"
#include "demand/FormGroupDemand.h"

// The openers main.cpp gives the windows, for tests that open one window from another.
namespace WindowOpeners {

FormDrugsEditorOpeners drugsEditor();
FormGroupDemandOpeners groupDemand();
FormBuyCollectOpeners buyCollect();

} // namespace WindowOpeners
