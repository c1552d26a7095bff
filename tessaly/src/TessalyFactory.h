// CTessalyFactory: the object the export "CreateInstance" hands out; it makes empty image
// objects for the three picture class ids and nothing else. Stateless, one per call.
#pragma once

#include "ITessaly.h"
#include "XObject.h"

class CTessalyFactory : public CXObject<ITessalyFactory> {
 public:
  CTessalyFactory() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  ITessaly* __stdcall CreateImage(const GUID* clsid) override;

 private:
  ~CTessalyFactory() override = default;
};
