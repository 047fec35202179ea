# A card shows its thumbnail only when the thumbnail is not older than its
# picture; a checkout gives the files the times of its own making.
function(freshen_thumbnails folder)
    file(GLOB_RECURSE thumbnails "${folder}/*NAIL/~*")
    if(thumbnails)
        file(TOUCH_NOCREATE ${thumbnails})
    endif()
endfunction()
