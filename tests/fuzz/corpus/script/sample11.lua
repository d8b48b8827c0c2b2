drav_talk( context, "Keep your voice down. Those are no fishermen: they run goods past the Wardens, and they took the boatwright's skiff." )
     drav_talk( context, "Take this lantern. Shuttered, it will not give you away in the reeds." )
     drav_give_item( context, "reed_lantern" )
     drav_add_talk_path( context, "Thank you, Hollis.", "" )
