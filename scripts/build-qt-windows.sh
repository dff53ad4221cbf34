#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qtbase source, as static
# libraries with only what Norvana uses (Core, Gui, Widgets, Test, the
# windows and offscreen platforms, the Windows styles), and keeps it outside
# the clone, under ${XDG_CACHE_HOME:-~/.cache}/norvana/, keyed by the Qt
# source version, the configure options and the versions of the MinGW-w64
# compiler and runtime it is built with (static libraries carry their code
# into Norvana.exe). A build already there is reused.
# Prints the folder Qt is installed in as its last line; the licence notices
# of what it holds are in its notices/ folder.
#   scripts/build-qt-windows.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/install-deps.sh" build windows >&2

# The host tools (moc, rcc, uic) come from the Qt packages in use, so the
# source is the one of the same Debian version.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
toolchain=$root/cmake/mingw-w64-x86_64.cmake

options=(
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
    -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    # Debian's source lacks the Wintab headers tablet events need.
    -DFEATURE_tabletevent=OFF
    # What Norvana does not use.
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_dbus=OFF
    -DINPUT_opengl=no
    -DFEATURE_vulkan=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_graphicsview=OFF
    -DFEATURE_direct2d=OFF
    # Its DirectWrite font database builds only with Direct 2D; the windows
    # platform uses GDI's unless asked for it.
    -DFEATURE_directwrite3=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    -DFEATURE_icu=OFF
    # Qt's own copies of the libraries it needs, built in; FreeType among
    # them, which the offscreen platform of the tests draws text with.
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_sessionmanager=OFF
    -DFEATURE_testlib_selfcover=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_mimetype_database=OFF
    -DFEATURE_textodfwriter=OFF
    -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF
    # No install path inside the libraries (QLibraryInfo's prefix is found
    # from the program's own place), so that a program built with them
    # carries no path of the machine that built Qt.
    -DFEATURE_relocatable=ON
)
# GCC calls itself only "12-posix"; the Debian packages' versions say which
# build of the compiler and of the MinGW-w64 headers and libraries it is.
compiler=$(dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
key=$( { printf '%s\n' "${options[@]}"; cat "$toolchain"; echo "$compiler"; } | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/norvana
work=$cache/qt-$qt_version-mingw64-$key
prefix=$work/install

sources=$cache/qt6-base-$qt_version
source_dir=$sources/qt6-base-${qt_version%-*}
# The licence texts and attribution entries that go with a program linked
# against this Qt, written again when qt-notices.py is newer than they are.
notices() { /usr/bin/python3 "$root/scripts/qt-notices.py" "$source_dir" "$work/build" "$prefix/notices" >&2; }

if [ -f "$prefix/.complete" ]; then
    echo "Qt for Windows: reusing $prefix" >&2
    [ "$prefix/notices/qt_attribution.json" -nt "$root/scripts/qt-notices.py" ] || notices
    echo "$prefix"
    exit 0
fi

# Debian's source needs a deb-src entry for the main archive.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
    list=/etc/apt/sources.list.d/norvana-deb-src.sources
    echo "No deb-src entry: adding $list for Debian's source packages" >&2
    sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" tee "$list" >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    "${sudo[@]}" apt-get update -qq
fi

# The source, with Debian's patches applied, serves every set of options.
if [ ! -d "$source_dir" ]; then
    echo "Qt for Windows: fetching the source of qt6-base $qt_version" >&2
    rm -rf "$sources" && mkdir -p "$sources"
    (cd "$sources" && apt-get source -qq "qt6-base=$qt_version" >&2)
fi

# A build that was interrupted goes on where it stopped.
echo "Qt for Windows: configuring in $work/build" >&2
mkdir -p "$work"
cmake -S "$source_dir" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${options[@]}" >"$work/configure.log" 2>&1 \
    || { tail -40 "$work/configure.log" >&2; echo "error: configure failed, see $work/configure.log" >&2; exit 1; }

# Ninja's progress ([n/total]) shows how far the build is; from the
# source's download to the install it takes about 11½ minutes on a quiet
# 2-core machine (measured; see the README).
echo "Qt for Windows: building (log: $work/build.log)" >&2
if ! ninja -C "$work/build" -j"$(nproc)" 2>&1 | tee "$work/build.log" \
    | awk '/^\[[0-9]+\/[0-9]+\]/ { split(substr($1, 2), n, "/"); p = int(100 * n[1] / n[2]);
                                    if (p != last) { printf "Qt for Windows: %d%% (%s)\n", p, substr($1, 2, length($1) - 2); fflush(); last = p } }
           /FAILED:|error:/ { print; fflush() }' >&2; then
    echo "error: the Qt build failed, see $work/build.log" >&2
    exit 1
fi
ninja -C "$work/build" install >"$work/install.log" 2>&1
notices
touch "$prefix/.complete"
echo "$prefix"
