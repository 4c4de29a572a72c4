# Installs the Debian 12 packages the build needs, when any is missing.
# Sourced by the other scripts of tools/.

KOVRA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libcurl4-openssl-dev
  g++-multilib qemu-user
  qt6-base-dev fonts-wqy-microhei xvfb xauth
)

kovra_install_deps() {
  local missing=()
  for p in "${KOVRA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
