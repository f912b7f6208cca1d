#include "engine_probe.h"

#include <qedit.h>

namespace enginetest {

ISampleGrabberCB* EngineProbe::GrabberCallback() const {
    return reinterpret_cast<ISampleGrabberCB*>(m_pGrabberCB);
}

} // namespace enginetest
