# Shared environment of the project's scripts (sourced, not run).
QEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QEL_BUILD=${QEL_BUILD:-$QEL_ROOT/build}
QEL_DEPS=$QEL_BUILD/deps
QEL_WIN_BUILD=$QEL_BUILD/win
QEL_NATIVE_BUILD=$QEL_BUILD/native
QEL_JOBS=${QEL_JOBS:-$(nproc)}

# Wine: a project-private prefix (or the copy scripts/on-screen names), quiet, no crash debugger, no
# sound card needed.
export WINEPREFIX=${QEL_WINEPREFIX:-$QEL_BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# A test may switch more DLLs off for its own program through QEL_EXTRA_DLLOVERRIDES (a CTest
# ENVIRONMENT property), for example the sound driver.
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=;mshtml=${QEL_EXTRA_DLLOVERRIDES:+;$QEL_EXTRA_DLLOVERRIDES}"
export ALSA_CONFIG_PATH=$QEL_BUILD/alsa-null.conf

# Windows path of a Unix path, as Wine maps the root to drive Z:.
qel_winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
