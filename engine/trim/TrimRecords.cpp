// The trim editor's records: construction and the release of the nodes they hold.
#include "TrimRecords.h"

#include "EditingServices.h"
#include "EngineCom.h"

namespace {
// Takes a node and its children off the timeline, then drops the record's reference.
void RemoveAndRelease(IAMTimelineObj*& node) {
    if (node)
        node->RemoveAll();
    SafeRelease(node);
}
} // namespace

CTrimSource::CTrimSource()
    : m_bTextMixEnabled(FALSE), m_bMavixMixEnabled(FALSE), m_pThisObj(nullptr), m_pColorObj(nullptr),
      m_pColorObj2(nullptr), m_llTimelineStart(0), m_llTimelineStop(0), m_llMediaStart(0), m_llMediaStop(0),
      m_llDuration(0), m_llFrames(0), m_nWidth(0), m_nHeight(0) {
    // A clip's low-light settings start all zero, unlike a free-standing record.
    m_MavixMix.m_nLevel = 0;
    m_MavixMix.m_llStart = 0;
    m_MavixMix.m_llEnd = 0;
    m_MavixMix.m_llReserved = 0;
    m_TextMix.SetDefaultValue();
}

CTrimSource::~CTrimSource() = default;

void CTrimSource::Release() {
    RemoveAndRelease(m_pThisObj);
    RemoveAndRelease(m_pColorObj);
    RemoveAndRelease(m_pColorObj2);
}

CTrimTrack::CTrimTrack()
    : m_pThisObj(nullptr), m_pThatObj(nullptr), m_pTransable(nullptr), m_pEffectable(nullptr),
      m_pTrackType(nullptr) {}

CTrimTrack::~CTrimTrack() = default;

BOOL CTrimTrack::SetTrackType(const GUID* type) {
    if (!type)
        return FALSE;
    if (!IsEqualGUID(*type, MEDIATYPE_Audio) && !IsEqualGUID(*type, MEDIATYPE_Video))
        return FALSE;
    m_pTrackType = type;
    return TRUE;
}

BOOL CTrimTrack::GetTrackType(const GUID** type) const {
    if (!type || !m_pTrackType)
        return FALSE;
    *type = m_pTrackType;
    return TRUE;
}

void CTrimTrack::Release() {
    RemoveAndRelease(m_pThisObj);
    RemoveAndRelease(m_pThatObj);
    SafeRelease(m_pTransable);
    SafeRelease(m_pEffectable);
}

CTrimTrans::CTrimTrans() : m_pThisObj(nullptr), m_nType(-1), m_llDuration(0) {}

CTrimTrans::~CTrimTrans() = default;

void CTrimTrans::Release() {
    RemoveAndRelease(m_pThisObj);
}
