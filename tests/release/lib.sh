# Shared by the release checks: a look at a screenshot of the running show.

# heart_in_screenshot PNG: true when the middle of the screen is the heart's
# red and the corner is darker; otherwise prints what it saw and fails.
heart_in_screenshot() {
    local mean=(-format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)]' info:)
    local middle_red middle_green corner_red
    read -r middle_red middle_green < <(convert "$1" -crop 200x200+300+200 +repage "${mean[@]}")
    read -r corner_red _ < <(convert "$1" -crop 100x100+0+0 +repage "${mean[@]}")
    if [ "$middle_red" -gt 60 ] && [ "$middle_red" -gt $((2 * middle_green)) ] &&
        [ "$corner_red" -lt "$middle_red" ]; then
        return 0
    fi
    echo "no heart in the middle of the screen (red $middle_red, green $middle_green; corner red $corner_red)"
    return 1
}
