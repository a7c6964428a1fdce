# Sourced by the scripts: installs the Debian packages of the named lists in
# scripts/packages/ (show, test, ...) that are not installed yet. Runs apt-get
# as root, through sudo when the caller is not root.
#
#   install_packages LIST...
install_packages() {
    local lists_dir
    lists_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../packages" && pwd)
    local wanted=() missing=() list package
    for list in "$@"; do
        [ -f "$lists_dir/$list.txt" ] || { echo "no package list $list" >&2; return 1; }
        mapfile -t -O "${#wanted[@]}" wanted < <(grep -v -E '^\s*(#|$)' "$lists_dir/$list.txt")
    done
    for package in "${wanted[@]}"; do
        if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) != *"ok installed" ]]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}" >&2
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    # sudo would drop DEBIAN_FRONTEND from the environment; env sets it inside.
    # Another apt run (an unattended upgrade, say) holds the lock for a while:
    # wait for it rather than fail.
    local apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
    "${apt[@]}" update -qq
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
}
