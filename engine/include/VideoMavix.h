#pragma once
// CVideoMavix: the playback enhancement chain. Splices the colour space converter and the auto
// enhance, auto tone and whiteboard plug-ins into a playback graph, each immediately before its
// video renderer, keeping the graph's position and run state; then switches the plug-ins and sets
// their strength. CMixerCtrl: a two-value record the library exports and nothing uses.
#include <windows.h>
#include <dshow.h>

#include "VostrelApi.h"

enum VIDEOMAVIX {
    MAVIX_AUTOENHANCE = 1,
    MAVIX_AUTOTONE = 2,
    MAVIX_WHITEBOARD = 3,
};

class VOSTREL_API CVideoMavix {
public:
    CVideoMavix();
    virtual ~CVideoMavix();
    // One object owns one reference on each filter, pin and the graph: copies would release them twice.
    CVideoMavix(const CVideoMavix&) = delete;
    CVideoMavix& operator=(const CVideoMavix&) = delete;

    // Takes the playback graph and creates the plug-ins; the query's result (success also when the
    // plug-ins are missing, which one message box reports).
    HRESULT SetMainGraph(IGraphBuilder* graph);
    // Each splices its filter before the renderer (1) or reports why not (0). A plug-in's first
    // switch-on inserts it disabled, later ones enable it, switch-off disables it.
    int ApplyColorSpace();
    int ApplyAutoEnhance(int on);
    int ApplyAutoTone(int on);
    int ApplyWhiteBoard(int on);
    // With set, a level within 0..100 is kept; the kept level is sent to the plug-in and returned.
    int AutoEnhanceLevel(int level, int set);
    int AutoToneLevel(int level, int set);
    int WhiteBoardLevel(int level, int set);
    // Takes the plug-ins out of the graph and releases everything; a new SetMainGraph starts again.
    void CleanUp();

private:
    // One plug-in's insertion state and texts.
    struct Plugin;
    static const Plugin& PluginOf(int which);
    int CreateVideoMavixFilters();
    int FindRendererInputPin();
    void RemoveVideoMavixFilters();
    int ApplyPlugin(const Plugin& plugin, int on);
    int SplicePlugin(const Plugin& plugin);
    int PluginLevel(const Plugin& plugin, int level, int set);
    void ReleasePins(IPin** in, IPin** out);

    int m_bWhiteBoardAdded;
    int m_bAutoEnhanceAdded;
    int m_bAutoToneAdded;
    IGraphBuilder* m_pGraph;
    IPin* m_pRendererIn;
    IPin* m_pWhiteBoardOut;
    IPin* m_pWhiteBoardIn;
    IPin* m_pAutoToneOut;
    IPin* m_pAutoToneIn;
    IPin* m_pAutoEnhanceOut;
    IPin* m_pAutoEnhanceIn;
    IBaseFilter* m_pAutoEnhance;
    IBaseFilter* m_pAutoTone;
    IBaseFilter* m_pWhiteBoard;
    IBaseFilter* m_pColorSpace;
    IPin* m_pColorSpaceIn;
    IPin* m_pColorSpaceOut;
    int m_nWhiteBoardLevel;
    int m_nAutoToneLevel;
    int m_nAutoEnhanceLevel;
};

class VOSTREL_API CMixerCtrl {
public:
    CMixerCtrl() {}
    virtual ~CMixerCtrl() {}
    CMixerCtrl(const CMixerCtrl&) = default;
    CMixerCtrl& operator=(const CMixerCtrl&) = default;

    int m_nFirst;
    int m_nSecond;
};
