if drav_check_tag( context, "boatwright_found" ) and not drav_check_and_set_tag( context, "inn_round_stood" ) then
     drav_chatter( context, "actor", "The boatwright is home! Drinks on the house tonight!" )
    end
