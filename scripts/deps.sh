# Shared by run.sh and test.sh: installs the Debian packages the build needs.
PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libgtest-dev libbenchmark-dev fonts-dejavu-core locales-all)

install_deps() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}
