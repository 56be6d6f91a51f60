# Installs the Debian packages Mokuro needs to build, test and run, those that are missing only.
# Sourced by the run and test scripts.
mokuro_packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  xvfb xauth x11-utils xdotool trayer dbus-daemon
  fonts-ipafont-gothic
  xdg-utils
  librsvg2-bin desktop-file-utils appstream man-db dpkg-dev
  clang libclang-rt-14-dev
)

mokuro_install_packages() {
  local missing=()
  local p
  for p in "${mokuro_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}
