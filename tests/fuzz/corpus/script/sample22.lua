if drav_check_tag( context, "boatwright_found" ) and not drav_check_and_set_tag( context, "boatwright_escorted" ) then
     drav_message( context, "The boatwright limps along behind you, muttering about his tools." )
    end
    return true
